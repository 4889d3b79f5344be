#pragma once
#include <QIcon>

namespace photocheck {

// The pictures of the flat buttons and of the program, drawn in code.
QIcon chooseFolderIcon();  // a folder
QIcon runBatchIcon();      // a start button
QIcon readmeIcon();        // a page with an "i"
QIcon versionsIcon();      // a page with a clock
QIcon quitIcon();          // a power switch
QIcon queryIcon();         // a magnifier over a table
QIcon programIcon();       // an ID photo with a tick

}  // namespace photocheck
