// Handlers of the main window whose work belongs to the playback, playlist,
// tools and skin code. Until that code is in, each is empty or passes the
// command on to the handler that does the work: a menu item that repeats a
// button performs that button's click.
#include "app/frmmain_win.h"

#include "app/trace.h"

void Tfrmmain::PlayFile(const std::wstring& path) { TraceStep("play file"); }

// Playlist and playing.
void Tfrmmain::BitBtn1Click() {}
void Tfrmmain::ListBox1Click() {}

// Transport.
void Tfrmmain::SpeedButton1Click() {}
void Tfrmmain::SpeedButton2Click() {}
void Tfrmmain::SpeedButton3Click() {}
void Tfrmmain::SpeedButton4Click() {}
void Tfrmmain::SpeedButton5Click() {}
void Tfrmmain::SpeedButton6Click() {}
void Tfrmmain::ProgressBar1MouseUp(int x, int y) {}
void Tfrmmain::N16Click() { SpeedButton5Click(); }
void Tfrmmain::N17Click() { SpeedButton6Click(); }
void Tfrmmain::N12Click() { SpeedButton3Click(); }
void Tfrmmain::N13Click() { SpeedButton2Click(); }
void Tfrmmain::N14Click() { SpeedButton1Click(); }
void Tfrmmain::N15Click() { SpeedButton4Click(); }

// Continuous play.
void Tfrmmain::CheckBox1Click() {}
void Tfrmmain::CheckBox2Click() {}
void Tfrmmain::CheckBox3Click() {}
void Tfrmmain::RadioButton1Click() { N20Click(); }
void Tfrmmain::RadioButton2Click() { N19Click(); }
void Tfrmmain::N20Click() {}
void Tfrmmain::N19Click() {}
void Tfrmmain::Timer1Timer() {}
void Tfrmmain::Timer2Timer() {}
void Tfrmmain::Timer3Timer() {}
void Tfrmmain::Timer4Timer() {}
void Tfrmmain::Timer5Timer() {}

// Sound and picture.
void Tfrmmain::SpeedButton9Click() {}
void Tfrmmain::SpeedButton10Click() {}
void Tfrmmain::VolImgMouseDown(int x, int y) {}
void Tfrmmain::Panel10MouseDown(int x, int y) {}
void Tfrmmain::bylClick() {}
void Tfrmmain::Edit1Change() {}
void Tfrmmain::N51Click() {}
void Tfrmmain::N52Click() {}
void Tfrmmain::N53Click() {}
void Tfrmmain::N57Click() {}
void Tfrmmain::N58Click() {}
void Tfrmmain::N59Click() {}
void Tfrmmain::N60Click() {}
void Tfrmmain::N61Click() {}
void Tfrmmain::N62Click() {}

// Search, tools and skins.
void Tfrmmain::N1Click() {}
