#include "platform/Painting.h"

#include <QCoreApplication>
#include <QWidget>

namespace platform {

void SetPainting(QWidget *window, bool on) { window->setUpdatesEnabled(on); }

void ProcessMessages() { QCoreApplication::processEvents(); }

}  // namespace platform
