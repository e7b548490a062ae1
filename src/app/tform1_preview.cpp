#include "app/tform1.h"

namespace zorvant::app {

void TForm1::HistoryPreviewClick() {
    env_.dialogs.showHistoryPreview();
}

} // namespace zorvant::app
