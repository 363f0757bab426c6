#pragma once

#include "forms/AboutDialogForm.h"
#include "framework/DialogBase.h"
#include "util/ProgramInfo.h"

// The About box: the program's name, description, version, build and notices, beside the picture.
class DialogAbout : public DialogBase
{
    Q_OBJECT

public:
    explicit DialogAbout(const ProgramInfo& info, QWidget* parent = nullptr);

protected:
    void Exchange(DataExchange& exchange) override;

private:
    const AboutDialogForm m_ui;
    ProgramInfo m_info;
};
