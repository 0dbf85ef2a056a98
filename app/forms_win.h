// The application's windows, created once at start and kept until exit.
#pragma once

class Tfrmmain;
class Tfrmabout;
class Tfrmset;
class Tsourcefm;

struct ApplicationForms {
    Tfrmmain* frmmain = nullptr;
    Tfrmabout* frmabout = nullptr;
    Tfrmset* frmset = nullptr;
    Tsourcefm* sourcefm = nullptr;
};

ApplicationForms& Forms();
