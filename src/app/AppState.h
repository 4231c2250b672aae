#pragma once
// Process-wide application state shared by the window thread and the timer workers.
// ApplicationTerminating is set when the application is asked to quit; it also reads true once
// Qt is closing down. Tick handlers check it so that nothing runs into a half-destroyed program.

bool ApplicationTerminating();
void SetApplicationTerminating(bool value);
