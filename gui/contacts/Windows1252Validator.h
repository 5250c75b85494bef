#pragma once

#include <QValidator>

// Accepts only text whose every character the notes file can hold, so nothing typed
// into a field is turned into "?" when it is written.
class Windows1252Validator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
};
