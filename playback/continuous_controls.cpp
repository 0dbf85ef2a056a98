#include "playback/continuous_controls.h"

ContinuousMode ContinuousControls::Mode() const {
    if (in_order_item_) return ContinuousMode::kInOrder;
    if (random_item_) return ContinuousMode::kRandom;
    return ContinuousMode::kOff;
}

void ContinuousControls::ClickContinuous() { ContinuousTicked(!continuous_); }

void ContinuousControls::ContinuousTicked(bool ticked) {
    continuous_ = ticked;
    ContinuousChanged();
}

void ContinuousControls::ContinuousChanged() {
    radios_enabled_ = continuous_;
    in_order_item_ = in_order_radio_;
    random_item_ = !in_order_radio_;
    if (!continuous_) {
        in_order_item_ = false;
        random_item_ = false;
    }
}

void ContinuousControls::SetContinuous(bool ticked) {
    if (continuous_ == ticked) return;
    continuous_ = ticked;
    ContinuousChanged();
}

void ContinuousControls::SetInOrderRadio(bool ticked) {
    if (in_order_radio_ == ticked) return;
    in_order_radio_ = ticked;
    if (ticked)
        ClickInOrderRadio();
    else
        ClickRandomRadio();
}

void ContinuousControls::ClickInOrderRadio() {
    in_order_radio_ = true;
    ClickInOrderItem();
}

void ContinuousControls::ClickRandomRadio() {
    in_order_radio_ = false;
    ClickRandomItem();
}

void ContinuousControls::ClickInOrderItem() {
    in_order_item_ = true;
    random_item_ = false;
    SetContinuous(true);
    SetInOrderRadio(true);
}

void ContinuousControls::ClickRandomItem() {
    random_item_ = true;
    in_order_item_ = false;
    SetContinuous(true);
    SetInOrderRadio(false);
}
