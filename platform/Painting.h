#pragma once

class QWidget;

namespace platform {

// Painting of a window is one on/off switch, not a count.
void SetPainting(QWidget *window, bool on);

// Lets the program handle its pending window events.
void ProcessMessages();

}  // namespace platform
