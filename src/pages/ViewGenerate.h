#pragma once

#include "forms/GeneratePageForm.h"
#include "framework/FormView.h"
#include "pages/DialogInputDetails.h"

#include <cstdint>

// The Generate page: reading locks from a file, the kind of login box the outputs carry (a
// program setting, not part of the project), and the three outputs (browser preview, the HTML
// segment on the clipboard, an HTML file), each of which commits the page first.
class ViewGenerate : public FormView
{
    Q_OBJECT

public:
    explicit ViewGenerate(Doc& doc, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    bool Commit() override;

protected:
    void Exchange(DataExchange& exchange) override;

private:
    void Load();
    void OnReadFromFileClicked();
    void OnBoxKindChosen(int index);
    void OnDetails();
    void OnPreview();
    void OnCopy();
    void OnCreateFile();

    const GeneratePageForm m_ui;
    InputDetails m_details;
    std::int32_t m_readFromFile = 0;
};
