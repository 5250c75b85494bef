#include "platform/desktop/QtCommonDialogs.h"

#include "gui/note/NoteFonts.h"

#include "gui/note/WinColor.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A file dialog for one file; empty when cancelled.
QString askForFile(QWidget* parent, const QString& title, const QString& start,
                   const QString& filter, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Qt's own dialog: it comes up above the notes and speaks the interface language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    const QFileInfo info(start);
    if (info.isDir()) {
        dialog.setDirectory(start);
    } else if (!start.isEmpty()) {
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

// The font dialog with a colour choice below it, as a note's font has a colour.
class FontAndColorDialog : public QDialog {
public:
    FontAndColorDialog(QWidget* parent, const NoteFont& initial)
        : QDialog(parent), m_color(initial.Color) {
        setWindowTitle(QFontDialog::tr("Select Font"));
        m_fonts = new QFontDialog(NoteFonts::toQFont(initial), this);
        m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        m_fonts->setWindowFlags(Qt::Widget);
        m_colorButton = new QPushButton(this);
        m_colorButton->setObjectName(QStringLiteral("colorButton"));
        connect(m_colorButton, &QPushButton::clicked, this, [this] {
            const QColor chosen = QColorDialog::getColor(
                WinColor::toQColor(m_color), this, QString(), QColorDialog::DontUseNativeDialog);
            if (chosen.isValid()) {
                m_color = WinColor::fromQColor(chosen);
                showColor();
            }
        });
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* colorRow = new QHBoxLayout;
        colorRow->addWidget(
            new QLabel(QColorDialog::tr("&Basic colors").remove(QLatin1Char('&')), this));
        colorRow->addWidget(m_colorButton);
        colorRow->addStretch();
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_fonts);
        layout->addLayout(colorRow);
        layout->addWidget(buttons);
        showColor();
    }

    NoteFont chosen() const {
        const QFont font = m_fonts->currentFont();
        return NoteFont{font.family(), font.pointSize(), m_color, font.bold(), font.italic()};
    }

private:
    void showColor() {
        QPixmap swatch(32, 16);
        swatch.fill(WinColor::toQColor(m_color));
        m_colorButton->setIcon(QIcon(swatch));
        m_colorButton->setIconSize(swatch.size());
    }

    QFontDialog* m_fonts = nullptr;
    QPushButton* m_colorButton = nullptr;
    int m_color = 0;
};

} // namespace

QString QtCommonDialogs::openFile(QWidget* parent, const QString& title, const QString& startPath,
                                  const QString& filter) {
    return askForFile(parent, title, startPath, filter, QFileDialog::AcceptOpen);
}

QString QtCommonDialogs::saveFile(QWidget* parent, const QString& title,
                                  const QString& suggestedPath, const QString& filter) {
    return askForFile(parent, title, suggestedPath, filter, QFileDialog::AcceptSave);
}

QString QtCommonDialogs::folder(QWidget* parent, const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(
        parent, title, startFolder, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

std::optional<int> QtCommonDialogs::color(QWidget* parent, int initial) {
    QColorDialog dialog(WinColor::toQColor(initial), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return WinColor::fromQColor(dialog.selectedColor());
}

std::optional<NoteFont> QtCommonDialogs::font(QWidget* parent, const NoteFont& initial) {
    FontAndColorDialog dialog(parent, initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

bool QtCommonDialogs::print(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    return dialog.exec() == QDialog::Accepted;
}
