#pragma once
// The process-wide busy state of long operations (a full-text find, an archive listing).
// While BusyFlag is set, further commands are ignored.

extern bool BusyFlag;

// On: the hourglass cursor shows. Off: pending window events are handled first, then the
// normal cursor returns. Both set BusyFlag to on.
void SetBusyCursor(bool on);
