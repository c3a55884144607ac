// The settings' view of a window's controls: each value is looked up by the
// control's object name among the window's children.
#pragma once

#include "tav/core/ControlSurface.h"

class QWidget;

class WidgetControls : public ControlSurface {
public:
    explicit WidgetControls(QWidget* root) : m_root(root) {}

    bool checked(const QString& name) const override;
    void setChecked(const QString& name, bool on) override;
    int listIndex(const QString& name) const override;
    void setListIndex(const QString& name, int index) override;
    int counterPosition(const QString& name) const override;
    void setCounterPosition(const QString& name, int position) override;
    QString text(const QString& name) const override;
    void setText(const QString& name, const QString& text) override;
    std::uint32_t swatchColor(const QString& name) const override;
    void setSwatchColor(const QString& name, std::uint32_t color) override;

private:
    template <class T>
    T* find(const QString& name) const;

    QWidget* m_root;
};
