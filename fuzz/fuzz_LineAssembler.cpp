// The socket line mode fed in pieces of any size, as the connection reads them: between
// two pieces every complete line is taken out, and the close hands over what is left.
// In the reporting form (the note receiver's: limit 80, line editing) it must cut
// exactly the lines of a plain model that searches the whole buffer every time; in the
// cutting form every line must end in its own first CR LF.

#include "fuzz/FuzzEnvironment.h"
#include "fuzz/LineModel.h"
#include "platform/system/LineAssembler.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using Fuzz = FuzzEnvironment;

void checkCutLine(const QByteArray& line) {
    if (!line.endsWith("\r\n") || line.indexOf("\r\n") != line.size() - 2)
        Fuzz::fail("a line ends at its first CR LF", Fuzz::visible(line));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    LineAssembler::Options options;
    const int form = data.ConsumeIntegralInRange(0, 3);
    if (form == 0) {
        options = {80, true, LineAssembler::Overflow::ReportAndClear};
    } else {
        options.limit = data.ConsumeIntegralInRange<qsizetype>(0, 300);
        options.editing = data.ConsumeBool();
        options.overflow =
            form == 3 ? LineAssembler::Overflow::CutLine : LineAssembler::Overflow::ReportAndClear;
    }
    const bool cutting = options.overflow == LineAssembler::Overflow::CutLine;
    LineAssembler lines(options);
    LineModel model(options.limit, options.editing);

    const auto drain = [&] {
        for (;;) {
            QByteArray line;
            const LineAssembler::Result result = lines.next(line);
            if (cutting) {
                if (result == LineAssembler::Result::LimitExceeded)
                    Fuzz::fail("the cutting form reports no limit");
                if (result == LineAssembler::Result::None)
                    return;
                checkCutLine(line);
                continue;
            }
            QByteArray expected;
            const LineModel::Result wanted = model.next(expected);
            if (int(result) != int(wanted))
                Fuzz::fail("result of next()",
                           QStringLiteral("%1 instead of %2").arg(int(result)).arg(int(wanted)));
            if (result == LineAssembler::Result::Line && line != expected)
                Fuzz::fail("line", Fuzz::visible(line) + QStringLiteral(" instead of ") +
                                       Fuzz::visible(expected));
            if (result != LineAssembler::Result::Line)
                return;
        }
    };

    while (data.remaining_bytes() > 0) {
        drain();
        const size_t length = data.ConsumeIntegralInRange<size_t>(0, 300);
        const std::string piece = data.ConsumeBytesAsString(length);
        const QByteArrayView view(piece.data(), qsizetype(piece.size()));
        lines.append(view);
        model.append(view);
    }
    drain();
    const QByteArray rest = lines.takeRemainder();
    if (!cutting && rest != model.takeRemainder())
        Fuzz::fail("remainder at the close", Fuzz::visible(rest));
    if (lines.pending() != 0)
        Fuzz::fail("the remainder leaves nothing behind");
    return 0;
}
