#pragma once

#include "forms/InputDetailsDialogForm.h"
#include "framework/DialogBase.h"

#include <QByteArray>

#include <cstdint>

class Doc;
struct ProjectState;

// The lock input file's details: its name, how often the login box reads it again (0 to 5000
// seconds, though the arrows go to 20000) and the message shown while it loads. A button writes
// the file at once under the name typed so far.
struct InputDetails
{
    QByteArray lockFile;
    QByteArray loadingMessage;
    std::int32_t reloadInterval = 0;
};

class DialogInputDetails : public DialogBase
{
    Q_OBJECT

public:
    // The document supplies the locks written by the button; the dialog changes nothing in it.
    // project is what the window keeps about the open project doc.
    DialogInputDetails(Doc& doc, ProjectState& project, QWidget* parent = nullptr);

    // The details shown when the dialog opens, and the ones confirmed after OK.
    void SetDetails(const InputDetails& details) { m_details = details; }
    const InputDetails& Details() const { return m_details; }

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;

private:
    void OnWriteInputFile();

    const InputDetailsDialogForm m_ui;
    InputDetails m_details;
    Doc& m_doc;
    ProjectState& m_project;
};
