// The controls of continuous play: the check box "连续播放" (CheckBox1), the
// radio buttons "顺序" and "随机" and the radio menu items "顺序连续播放" (N20)
// and "随机连续播放" (N19). Their handlers call one another: ticking a control
// from code runs its handler when its state changes, so a chain stops as
// soon as nothing changes any more. The timers read the menu items.
#pragma once

#include "playback/continuous_play.h"

// What the controls show: the window reads it from them before a click and
// writes the answer back.
struct ContinuousState {
    bool continuous = false;       // CheckBox1
    bool in_order_radio = true;    // RadioButton1 (RadioButton2 is its opposite)
    bool radios_enabled = false;
    bool in_order_item = false;    // N20
    bool random_item = false;      // N19
};

class ContinuousControls {
public:
    ContinuousControls() = default;
    explicit ContinuousControls(const ContinuousState& state)
        : continuous_(state.continuous), in_order_radio_(state.in_order_radio),
          radios_enabled_(state.radios_enabled), in_order_item_(state.in_order_item),
          random_item_(state.random_item) {}
    ContinuousState State() const {
        return {continuous_, in_order_radio_, radios_enabled_, in_order_item_, random_item_};
    }

    bool Continuous() const { return continuous_; }           // CheckBox1
    bool InOrderRadio() const { return in_order_radio_; }     // RadioButton1
    bool RandomRadio() const { return !in_order_radio_; }     // RadioButton2
    bool RadiosEnabled() const { return radios_enabled_; }
    bool InOrderItem() const { return in_order_item_; }       // N20
    bool RandomItem() const { return random_item_; }          // N19

    ContinuousMode Mode() const;

    // The user clicks the check box, which toggles it (CheckBox1Click).
    void ClickContinuous();
    // The check box has been ticked or cleared, by the user or from code.
    void ContinuousTicked(bool ticked);
    // A radio button clicked by the user (RadioButton1Click, RadioButton2Click).
    void ClickInOrderRadio();
    void ClickRandomRadio();
    // A menu item chosen (N20Click, N19Click).
    void ClickInOrderItem();
    void ClickRandomItem();

private:
    void ContinuousChanged();
    void SetContinuous(bool ticked);
    void SetInOrderRadio(bool ticked);

    bool continuous_ = false;
    bool in_order_radio_ = true;
    bool radios_enabled_ = false;
    bool in_order_item_ = false;
    bool random_item_ = false;
};

// Which Flash timer runs for the loop check box: Timer3 while it is ticked,
// Timer2 while it is clear.
struct FlashTimers {
    bool timer2 = false;
    bool timer3 = false;
};

inline FlashTimers FlashTimersForLoop(bool loop) { return FlashTimers{!loop, loop}; }
