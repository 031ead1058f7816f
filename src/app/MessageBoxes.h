#pragma once

// Shows the program's messages (Messages.h) in modal message boxes.
void InstallMessageBoxes();
