#pragma once

#include "platform/SystemPaths.h"

// Folders and a user name chosen by the test.
class FakeSystemPaths final : public SystemPaths {
public:
    FakeSystemPaths(QString documents, QString program, QString user)
        : m_documents(std::move(documents)), m_program(std::move(program)),
          m_user(std::move(user)) {}

    QString documentsDir() const override { return m_documents; }
    QString programDir() const override { return m_program; }
    QString logonUser() const override { return usableUserName(m_user); }

private:
    QString m_documents;
    QString m_program;
    QString m_user;
};
