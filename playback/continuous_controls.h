// The controls of continuous play: the check box "连续播放" (CheckBox1), the
// radio buttons "顺序" and "随机" and the radio menu items "顺序连续播放" (N20)
// and "随机连续播放" (N19). Their handlers call one another: ticking a control
// from code runs its handler when its state changes, so a chain stops as
// soon as nothing changes any more. The timers read the menu items.
#pragma once

#include "playback/continuous_play.h"

class ContinuousControls {
public:
    bool Continuous() const { return continuous_; }           // CheckBox1
    bool InOrderRadio() const { return in_order_radio_; }     // RadioButton1
    bool RandomRadio() const { return !in_order_radio_; }     // RadioButton2
    bool RadiosEnabled() const { return radios_enabled_; }
    bool InOrderItem() const { return in_order_item_; }       // N20
    bool RandomItem() const { return random_item_; }          // N19

    ContinuousMode Mode() const;

    // The user clicks the check box, which toggles it (CheckBox1Click).
    void ClickContinuous();
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
