// Growing a form to show a word-wrapped label's whole text: the label, the
// group around it, the controls below and the window all move down by what
// the text needs beyond the label's height.
#pragma once

#include <QList>

class QLabel;
class QWidget;

// Grows `label` (and each of `containers`, e.g. its group box) to the height
// its text needs at its width, moves `below` down and makes `window` that
// much taller. Never shrinks anything.
void fitLabelHeight(QLabel* label, const QList<QWidget*>& containers, const QList<QWidget*>& below,
                    QWidget* window);
