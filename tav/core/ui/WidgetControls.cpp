#include "tav/core/ui/WidgetControls.h"

#include "tav/core/ui/ColorSwatch.h"
#include "tav/core/ui/UpDown.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

template <class T>
T* WidgetControls::find(const QString& name) const
{
    T* control = m_root->findChild<T*>(name);
    if (!control)
        qWarning("no control %s of the expected kind", qPrintable(name));
    return control;
}

bool WidgetControls::checked(const QString& name) const
{
    const auto* b = find<QAbstractButton>(name);
    return b && b->isChecked();
}

void WidgetControls::setChecked(const QString& name, bool on)
{
    auto* b = find<QAbstractButton>(name);
    if (!b)
        return;
    if (on || !b->isChecked()) {
        b->setChecked(on);
        return;
    }
    // Qt refuses to switch off the chosen button of an exclusive set; the
    // settings may switch one off without switching a partner on.
    QButtonGroup* group = b->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = b->autoExclusive();
    if (group)
        group->setExclusive(false);
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(autoExclusive);
    if (group)
        group->setExclusive(groupExclusive);
}

int WidgetControls::listIndex(const QString& name) const
{
    const auto* c = find<QComboBox>(name);
    return c ? c->currentIndex() : -1;
}

void WidgetControls::setListIndex(const QString& name, int index)
{
    if (auto* c = find<QComboBox>(name))
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
}

int WidgetControls::counterPosition(const QString& name) const
{
    const auto* u = find<UpDown>(name);
    return u ? u->position() : 0;
}

void WidgetControls::setCounterPosition(const QString& name, int position)
{
    if (auto* u = find<UpDown>(name))
        u->setPosition(position);
}

QString WidgetControls::text(const QString& name) const
{
    const auto* e = find<QLineEdit>(name);
    return e ? e->text() : QString();
}

void WidgetControls::setText(const QString& name, const QString& text)
{
    if (auto* e = find<QLineEdit>(name))
        e->setText(text);
}

std::uint32_t WidgetControls::swatchColor(const QString& name) const
{
    const auto* s = find<ColorSwatch>(name);
    return s ? s->colorRef() : 0;
}

void WidgetControls::setSwatchColor(const QString& name, std::uint32_t color)
{
    if (auto* s = find<ColorSwatch>(name))
        s->setColorRef(color);
}
