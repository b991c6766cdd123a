#pragma once
// Switches the main window between its normal frame (title bar, sizable
// border, minimise box, never a maximise box) and a frameless look that can
// still be resized at its edges.

class QWidget;

namespace veltra {

enum BorderStyle { kFrameless = 0, kSizable = 2 };

// Rewrites the frame of a shown or hidden window in place: it keeps its
// position, size and native window, so it is neither moved nor re-created.
void ApplyBorderStyle(QWidget* form, int borderStyle);

bool IsFrameless(const QWidget* form);

}  // namespace veltra
