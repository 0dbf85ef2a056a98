#include "app/frmmain_dispatch_win.h"

#include "app/frmmain_win.h"

namespace {

using Handler = void (Tfrmmain::*)();

struct Route {
    const wchar_t* name;
    Handler handler;
};

const Route kMenuRoutes[] = {
    {L"N55", &Tfrmmain::N55Click},     {L"N32", &Tfrmmain::N32Click},
    {L"IE1", &Tfrmmain::IE1Click},     {L"N39", &Tfrmmain::N39Click},
    {L"N41", &Tfrmmain::N41Click},     {L"N16", &Tfrmmain::N16Click},
    {L"N17", &Tfrmmain::N17Click},     {L"N12", &Tfrmmain::N12Click},
    {L"N13", &Tfrmmain::N13Click},     {L"N14", &Tfrmmain::N14Click},
    {L"N15", &Tfrmmain::N15Click},     {L"N20", &Tfrmmain::N20Click},
    {L"N19", &Tfrmmain::N19Click},     {L"N5", &Tfrmmain::N5Click},
    {L"N3", &Tfrmmain::N3Click},       {L"N4", &Tfrmmain::N4Click},
    {L"N34", &Tfrmmain::N34Click},     {L"N31", &Tfrmmain::N31Click},
    {L"N9", &Tfrmmain::N9Click},       {L"N10", &Tfrmmain::N10Click},
    {L"N11", &Tfrmmain::N11Click},     {L"N8", &Tfrmmain::N8Click},
    {L"N51", &Tfrmmain::N51Click},     {L"N52", &Tfrmmain::N52Click},
    {L"N53", &Tfrmmain::N53Click},     {L"N57", &Tfrmmain::N57Click},
    {L"N58", &Tfrmmain::N58Click},     {L"N59", &Tfrmmain::N59Click},
    {L"N60", &Tfrmmain::N60Click},     {L"N61", &Tfrmmain::N61Click},
    {L"N62", &Tfrmmain::N62Click},     {L"N18", &Tfrmmain::N18Click},
    {L"N1", &Tfrmmain::N1Click},       {L"N36", &Tfrmmain::N36Click},
    {L"N27", &Tfrmmain::N27Click},     {L"N26", &Tfrmmain::N26Click},
    {L"N28", &Tfrmmain::N28Click},     {L"N42", &Tfrmmain::N42Click},
    {L"N43", &Tfrmmain::N43Click},     {L"swfToExe1", &Tfrmmain::swfToExe1Click},
    {L"swfToMp31", &Tfrmmain::swfToMp31Click},
    {L"N44", &Tfrmmain::N44Click},     {L"N45", &Tfrmmain::N45Click},
    {L"N47", &Tfrmmain::N47Click},
};

const Route kControlRoutes[] = {
    {L"BitBtn1", &Tfrmmain::BitBtn1Click},
    {L"ListBox1", &Tfrmmain::ListBox1Click},
    {L"SpeedButton1", &Tfrmmain::SpeedButton1Click},
    {L"SpeedButton2", &Tfrmmain::SpeedButton2Click},
    {L"SpeedButton3", &Tfrmmain::SpeedButton3Click},
    {L"SpeedButton4", &Tfrmmain::SpeedButton4Click},
    {L"SpeedButton5", &Tfrmmain::SpeedButton5Click},
    {L"SpeedButton6", &Tfrmmain::SpeedButton6Click},
    {L"SpeedButton9", &Tfrmmain::SpeedButton9Click},
    {L"SpeedButton10", &Tfrmmain::SpeedButton10Click},
    {L"CheckBox1", &Tfrmmain::CheckBox1Click},
    {L"CheckBox2", &Tfrmmain::CheckBox2Click},
    {L"CheckBox3", &Tfrmmain::CheckBox3Click},
    {L"RadioButton1", &Tfrmmain::RadioButton1Click},
    {L"RadioButton2", &Tfrmmain::RadioButton2Click},
    {L"byl", &Tfrmmain::bylClick},
    {L"Edit1", &Tfrmmain::Edit1Change},
};

const Route kTimerRoutes[] = {
    {L"Timer1", &Tfrmmain::Timer1Timer}, {L"Timer2", &Tfrmmain::Timer2Timer},
    {L"Timer3", &Tfrmmain::Timer3Timer}, {L"Timer4", &Tfrmmain::Timer4Timer},
    {L"Timer5", &Tfrmmain::Timer5Timer},
};

template <size_t N>
Handler Find(const Route (&routes)[N], const std::wstring& name) {
    for (const Route& route : routes)
        if (name == route.name) return route.handler;
    return nullptr;
}

template <size_t N>
bool Run(const Route (&routes)[N], Tfrmmain& form, const std::wstring& name) {
    Handler handler = Find(routes, name);
    if (!handler) return false;
    (form.*handler)();
    return true;
}

}  // namespace

bool RunMenuHandler(Tfrmmain& form, const std::wstring& name) { return Run(kMenuRoutes, form, name); }
bool RunControlClick(Tfrmmain& form, const std::wstring& name) { return Run(kControlRoutes, form, name); }
bool RunTimerHandler(Tfrmmain& form, const std::wstring& name) { return Run(kTimerRoutes, form, name); }
bool HasMenuHandler(const std::wstring& name) { return Find(kMenuRoutes, name) != nullptr; }
bool HasControlClick(const std::wstring& name) { return Find(kControlRoutes, name) != nullptr; }
