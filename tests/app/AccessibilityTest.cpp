// SPDX-License-Identifier: MIT
// What assistive technology reads of the window, through Qt's accessibility interfaces.
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/render/ChartWidget.h>
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/axes/FormatSettings.h>
#include "LabeledEdit.h"
#include "MainWindow.h"
#include "RecordingMessageBoxes.h"
#include "UpDown.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace Korvatel;

namespace {

// The real window, shown and active, with number texts grouped by "," whatever the machine's
// locale (the settings are put back afterwards).
class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProcessFormatSettings().ThousandSeparator = ",";
        Form = std::make_unique<TForm1>(&Boxes);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }

    void TearDown() override {
        Form.reset();
        QCoreApplication::processEvents();
        ProcessFormatSettings() = Saved;
    }

    static QString Read(QWidget* widget, QAccessible::Text text) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face != nullptr ? face->text(text) : QStringLiteral("<no interface>");
    }

    QString Description() const { return Read(Form->Chart1(), QAccessible::Description); }

    bool DescriptionBecomes(const QString& expected) const {
        return QTest::qWaitFor([&] { return Description() == expected; }, 2000);
    }

    TFormatSettings Saved = ProcessFormatSettings();
    TRecordingMessageBoxes Boxes;
    std::unique_ptr<TForm1> Form;
};

// Every interface below the root, depth first.
void Collect(QAccessibleInterface* root, std::vector<QAccessibleInterface*>& all) {
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        all.push_back(child);
        Collect(child, all);
    }
}

} // namespace

TEST_F(AccessibilityTest, EveryControlHasAName) {
    // The fields are named by their captions; their hints state the ranges.
    EXPECT_EQ(Read(Form->LabeledEdit1(), QAccessible::Name), QString::fromUtf8("Hossz (L)"));
    EXPECT_EQ(Read(Form->LabeledEdit3(), QAccessible::Name), QString::fromUtf8("Sebesség (ß)"));
    EXPECT_EQ(Read(Form->LabeledEdit1(), QAccessible::Description), "Min: 100,  Max:2000");
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(Form->Chart1());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Name), QString::fromUtf8("Állóhullám-diagram"));

    // Nothing in the window is left nameless but the panel, a plain container.
    std::vector<QAccessibleInterface*> all;
    Collect(QAccessible::queryAccessibleInterface(Form->Panel2()), all);
    EXPECT_GE(all.size(), 12u);
    for (QAccessibleInterface* face : all) {
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty())
            << face->object()->metaObject()->className() << " "
            << face->object()->objectName().toStdString();
    }
}

TEST_F(AccessibilityTest, EachControlIsReadWithTheNameAndDescriptionItWasGiven) {
    struct Row {
        QWidget* widget;
        const char* name;
        const char* description;
    };
    const Row rows[] = {
        {Form->LabeledEdit1(), "Hossz (L)", "Min: 100,  Max:2000"},
        {Form->LabeledEdit3(), "Sebesség (ß)", "Min.: 0.0, Max: 0.99"},
        {Form->Edit1(), "Sebesség századokban", ""},
        {Form->CheckBox1(), "Vízszintes mozgás állj!", ""},
        {Form->Button1(), "Start", ""},
        {Form->Button2(), "Stop", ""},
        {Form->UpDown1(), "Sebesség léptetése", ""},
        {Form->UpDown1()->UpButton(), "Növelés", ""},
        {Form->UpDown1()->DownButton(), "Csökkentés", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Read(row.widget, QAccessible::Name).toStdString(), row.name);
        EXPECT_EQ(Read(row.widget, QAccessible::Description).toStdString(), row.description)
            << row.name;
    }

    // Pressed through the interface a screen reader finds by its name, each arrow moves the
    // velocity its own way.
    std::vector<QAccessibleInterface*> all;
    Collect(QAccessible::queryAccessibleInterface(Form->Panel2()), all);
    const auto press = [&](const QString& name) {
        for (QAccessibleInterface* face : all) {
            if (face->text(QAccessible::Name) == name && face->actionInterface() != nullptr) {
                face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(press(QString::fromUtf8("Növelés")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form->State().Beta == 0.01; }, 2000));
    ASSERT_TRUE(press(QString::fromUtf8("Csökkentés")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form->State().Beta == 0.0; }, 2000));
}

TEST_F(AccessibilityTest, TheChartsDescriptionSaysWhatItShows) {
    const QString axes =
        QString::fromUtf8(" Vízszintes tengely: 0 – 1,000, függőleges tengely: -1,000 – 1,000.");
    const QString stopped = QString::fromUtf8(" Az animáció áll.");
    const QString runs = QString::fromUtf8(" Az animáció fut.");
    EXPECT_EQ(Description(), QString::fromUtf8("A diagram még üres.") + axes + stopped);

    const QString heldWave =
        QString::fromUtf8("A húr állóhulláma, L = 500, ß = 0; a vízszintes mozgás megállítva.");
    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    EXPECT_TRUE(DescriptionBecomes(heldWave + axes + runs)) << Description().toStdString();
    QTest::mouseClick(Form->Button2(), Qt::LeftButton);
    EXPECT_EQ(Description(), heldWave + axes + stopped);

    // The wave drawn by the next frame, and a zoom.
    Form->LabeledEdit3()->setText(QStringLiteral("0.5"));
    Form->LabeledEdit1Exit(Form->LabeledEdit3());
    Form->CheckBox1()->setChecked(false);
    Form->Timer1Timer(nullptr);
    Form->Chart1()->Chart().BottomAxis().AssignRange(0.0, 0.5);
    EXPECT_TRUE(DescriptionBecomes(
        QString::fromUtf8("A húr állóhulláma, L = 500, ß = 0.5; a húr vízszintesen halad. "
                          "Vízszintes tengely: 0 – 0.5, függőleges tengely: -1,000 – 1,000.") +
        stopped))
        << Description().toStdString();
}
