// SPDX-License-Identifier: MIT
#include "QtMessageBoxes.h"

void TQtMessageBoxes::ShowModal(QWidget* owner, const TMessageBoxRequest& request) {
    QMessageBox box(request.Icon, request.Caption, request.Text, request.Buttons, owner);
    box.exec();
}
