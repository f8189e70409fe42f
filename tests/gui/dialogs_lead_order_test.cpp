// "Edit Lead Order": moving leads with UP/DOWN and by dragging, the beep at
// the ends, Restore Defaults, and damaged orders.

#include "dialogs/lead_order_dialog.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include "dialogs_screenshot.h"
#include "qt_test_app.h"

namespace {

using LeadList = CLeadOrderDialog::LeadList;

QStringList Labels(const CLeadOrderDialog& dialog) {
  QStringList labels;
  for (int row = 0; row < dialog.LeadsList()->count(); ++row) {
    labels << dialog.LeadsList()->item(row)->text();
  }
  return labels;
}

class LeadOrderDialog : public ::testing::Test {
 protected:
  void SetUp() override { ecg::test::EnsureQtApplication(); }
};

TEST_F(LeadOrderDialog, ShowsTheStoredOrderByLabel) {
  CLeadOrderDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Edit Lead Order");
  dialog.SetLeadOrder({6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5});
  EXPECT_EQ(Labels(dialog), QStringList({"V1", "V2", "V3", "V4", "V5", "V6", "I", "II", "III",
                                         "aVR", "aVL", "aVF"}));
  EXPECT_EQ(dialog.LeadOrder(), LeadList({6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5}));
  ecg::test::SaveDialogScreenshot(dialog, "lead_order_dialog");
}

TEST_F(LeadOrderDialog, UpAndDownMoveTheSelectedLeadOnePlace) {
  CLeadOrderDialog dialog;
  QSignalSpy beeps(&dialog, &CLeadOrderDialog::cannotMove);
  dialog.LeadsList()->setCurrentRow(2);  // III
  QTest::mouseClick(dialog.UpButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.LeadOrder(), LeadList({0, 2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(dialog.LeadsList()->currentRow(), 1) << "the moved lead stays selected";
  QTest::mouseClick(dialog.UpButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.LeadOrder(), LeadList({2, 0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(beeps.count(), 0);
  QTest::mouseClick(dialog.UpButton(), Qt::LeftButton);  // already first
  EXPECT_EQ(beeps.count(), 1);
  EXPECT_EQ(dialog.LeadOrder(), LeadList({2, 0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

  dialog.LeadsList()->setCurrentRow(11);  // V6, last
  QTest::mouseClick(dialog.DownButton(), Qt::LeftButton);
  EXPECT_EQ(beeps.count(), 2);
  QTest::mouseClick(dialog.UpButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.LeadOrder(), LeadList({2, 0, 1, 3, 4, 5, 6, 7, 8, 9, 11, 10}));

  dialog.LeadsList()->setCurrentRow(-1);  // nothing selected
  QTest::mouseClick(dialog.DownButton(), Qt::LeftButton);
  EXPECT_EQ(beeps.count(), 3);
}

TEST_F(LeadOrderDialog, DraggingReordersAndKeepsLabelsWithTheirLeads) {
  CLeadOrderDialog dialog;
  QListWidget* list = dialog.LeadsList();
  EXPECT_EQ(list->dragDropMode(), QAbstractItemView::InternalMove);
  // What a drop does to the list: the row is taken out and put elsewhere.
  list->model()->moveRow(QModelIndex(), 0, QModelIndex(), 12);
  EXPECT_EQ(Labels(dialog).last(), "I");
  EXPECT_EQ(dialog.LeadOrder(), LeadList({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0}));
}

TEST_F(LeadOrderDialog, RestoreDefaultsAndDamagedOrders) {
  CLeadOrderDialog dialog;
  dialog.SetLeadOrder({11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
  QTest::mouseClick(dialog.RestoreDefaultsButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.LeadOrder(), CLeadOrderDialog::DefaultLeadOrder());
  EXPECT_EQ(Labels(dialog).first(), "I");

  // Duplicates and values outside 0..11 never reach the list.
  for (const LeadList& bad : {LeadList{0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
                              LeadList{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 99},
                              LeadList{-1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}) {
    EXPECT_FALSE(CLeadOrderDialog::IsPermutation(bad));
    dialog.SetLeadOrder(bad);
    EXPECT_EQ(dialog.LeadOrder(), CLeadOrderDialog::DefaultLeadOrder());
    EXPECT_EQ(dialog.LeadsList()->count(), 12);
  }
}

TEST_F(LeadOrderDialog, OkAndCancelOnlyWhenStandingAlone) {
  CLeadOrderDialog alone;
  alone.show();
  EXPECT_TRUE(alone.OkButton()->isVisible());
  QTest::mouseClick(alone.OkButton(), Qt::LeftButton);
  EXPECT_EQ(alone.result(), QDialog::Accepted);

  CLeadOrderDialog page;
  page.SetEmbedded(true);
  page.show();
  EXPECT_FALSE(page.OkButton()->isVisible());
  EXPECT_FALSE(page.CancelButton()->isVisible());
  EXPECT_TRUE(page.RestoreDefaultsButton()->isVisible());
}

}  // namespace
