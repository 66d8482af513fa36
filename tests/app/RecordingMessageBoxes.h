// SPDX-License-Identifier: MIT
#pragma once

#include "MessageBoxes.h"

#include <functional>
#include <vector>

// Records the boxes instead of showing them; OnShow runs while a box would be open.
class TRecordingMessageBoxes final : public TMessageBoxes {
public:
    void ShowModal(QWidget* /*owner*/, const TMessageBoxRequest& request) override {
        Shown.push_back(request);
        if (OnShow) {
            OnShow(request);
        }
    }

    std::vector<TMessageBoxRequest> Shown;
    std::function<void(const TMessageBoxRequest&)> OnShow;
};
