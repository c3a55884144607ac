// Where a window goes on a screen: shrunk, where needed, so that its client
// area and the frame around it fit the available area, and centred in it.
#pragma once

#include <QRect>

// `client` is the window's client size, `frame` what the window system adds
// around it (empty before the window is shown). The result's size is the new
// client size, its top-left where the frame's top-left goes (QWidget::move).
QRect placeOnScreen(const QSize& client, const QSize& frame, const QRect& available);
