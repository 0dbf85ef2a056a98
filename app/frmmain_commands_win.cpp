// Handlers of the main window whose work belongs to the playback, playlist,
// tools and skin code. Until that code is in, each is empty or passes the
// command on to the handler that does the work: a menu item that repeats a
// button performs that button's click.
#include "app/frmmain_win.h"

#include "app/trace.h"

// Playlist and playing.

// Transport.
void Tfrmmain::N16Click() { SpeedButton5Click(); }
void Tfrmmain::N17Click() { SpeedButton6Click(); }
void Tfrmmain::N12Click() { SpeedButton3Click(); }
void Tfrmmain::N13Click() { SpeedButton2Click(); }
void Tfrmmain::N14Click() { SpeedButton1Click(); }
void Tfrmmain::N15Click() { SpeedButton4Click(); }

// Search, tools and skins.
