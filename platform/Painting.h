#pragma once

class QWidget;

namespace platform {

// Painting of a window is one on/off switch, not a count.
void SetPainting(QWidget *window, bool on);

// Switches a window's painting off for the life of the pause.
class PaintingPause {
public:
    explicit PaintingPause(QWidget *window) : window_(window) { SetPainting(window_, false); }
    ~PaintingPause() { SetPainting(window_, true); }
    PaintingPause(const PaintingPause &) = delete;
    PaintingPause &operator=(const PaintingPause &) = delete;

private:
    QWidget *window_;
};

// Lets the program handle its pending window events.
void ProcessMessages();

}  // namespace platform
