#pragma once

#include "framework/DataExchange.h"
#include "framework/PicturePanel.h"
#include "framework/TemplateBuilder.h"

#include <functional>
#include <memory>

class QPainter;

// What a page and a dialog share: the controls built from a template into their widget, the
// picture panel drawn on its placeholder, and runs of the widget's data exchange.
class FormHost
{
public:
    static constexpr int kNoPanel = 0;

    // Builds template templateId into form; panelId names the placeholder of the picture panel.
    FormHost(QWidget& form, int templateId, int panelId, PicturePanel::Manner manner);
    ~FormHost();

    const TemplateBuilder& Builder() const { return m_builder; }
    // The control built for the template's control with the given numeric id; nullptr for none.
    QWidget* ControlWithId(int id) const { return m_builder.ControlWithId(m_form, id); }

    // Runs exchange in one direction; false when a value was refused.
    bool UpdateData(bool saveAndValidate, const std::function<void(DataExchange&)>& exchange);
    // Draws the picture panel, when the form has one.
    void PaintPanel(QPainter& painter) const;

private:
    QWidget& m_form;
    TemplateBuilder m_builder;
    std::unique_ptr<PicturePanel> m_panel;
};
