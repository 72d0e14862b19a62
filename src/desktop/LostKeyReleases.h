#pragma once

// A key whose release went to a window that closed on its press (a message box closed by
// Enter) stays down in Qt's own record on Windows, and Qt takes the next press of that key for
// a held key's repeat, which the windows ignore. Windows itself knows the key was up: this lets
// Qt know too, before it reads that press.
void repairLostKeyReleases();
