// Stand-in until the Qt drawing of the control model lands.
#include "app/client_context.h"
#include "app/qt_backend.h"
#include "platform/qt/qt_platform.h"

namespace tavrel::app {

void SetUpPictures(platform::qt::QtPlatform&) {}
void AttachWindows(ClientContext&) {}

}  // namespace tavrel::app
