// SPDX-License-Identifier: MIT
#pragma once

#include "MessageBoxes.h"

// The program's message boxes: a QMessageBox, modal to its owner's window.
class TQtMessageBoxes final : public TMessageBoxes {
public:
    void ShowModal(QWidget* owner, const TMessageBoxRequest& request) override;
};
