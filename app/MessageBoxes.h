// SPDX-License-Identifier: MIT
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// One modal message box as the program asks for it.
struct TMessageBoxRequest {
    QString Caption;
    QString Text;
    QMessageBox::StandardButtons Buttons = QMessageBox::Ok;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Where the program's modal boxes are shown. The program uses real message boxes; tests put
// a recorder in their place, so that no box waits for a user.
class TMessageBoxes {
public:
    virtual ~TMessageBoxes() = default;

    // Shows the box over the owner and returns when it has been closed.
    virtual void ShowModal(QWidget* owner, const TMessageBoxRequest& request) = 0;
};

// The text of the general error box: the error's message with a full stop appended when its
// last character sorts after ".".
QString ErrorBoxText(const QString& message);
