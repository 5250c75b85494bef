#include "gui/contacts/Windows1252Validator.h"

#include "core/store/Windows1252.h"

#include <algorithm>

QValidator::State Windows1252Validator::validate(QString& input, int&) const {
    return std::all_of(input.cbegin(), input.cend(), Windows1252::canEncode) ? Acceptable : Invalid;
}
