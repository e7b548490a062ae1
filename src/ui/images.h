#pragma once
// The program's pictures, drawn rather than loaded so that nothing has to ship beside the executable.
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace zorvant::ui {

// ImageList1, the 16x16 images of the condition tree: 0 blue arrow (a selected node), 1 star mark
// (a Condition), 2 green ball (part 1), 3 orange ball (the action), 4 blue ball (part 2), 5 dotted
// brackets (an Operation).
QPixmap nodeImage(int index);
// The icon of a tree node: its own image, and image 0 while it is selected.
QIcon nodeIcon(int imageIndex);

// ImageList2, the pictures of the watch table's add button: 1 apply (edit mode), 2 add.
QPixmap buttonImage(int index);

// The program's 128x128 icon with 32 bits per pixel: the about box picture and the window icon.
QImage programIcon();

} // namespace zorvant::ui
