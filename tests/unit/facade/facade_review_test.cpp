// Review through the component's own windows (offscreen): with the no-wait
// flag the call returns as soon as the document is open; without it only
// once the review frame has closed.

#include <gtest/gtest.h>

#include <QTimer>
#include <memory>

#include "facade_fixture.h"
#include "facade_records.h"
#include "review/main_frame.h"

namespace ecg::test {
namespace {

class FacadeReview : public FacadeTest {
 protected:
  void SetUp() override {
    FacadeTest::SetUp();
    ecg::facade::SetWindowServices(nullptr);  // the component's windows
  }
};

TEST_F(FacadeReview, NoWaitReturnsWithTheWindowOpen) {
  const std::string record = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(record));
  CECGInterface facade;
  EXPECT_EQ(facade.GetNumberOfReviewWindows(), 0);
  EXPECT_EQ(facade.Review(record.c_str(), 0, 1), 1);
  ASSERT_NE(facade.m_pDocTemplate, nullptr);
  ASSERT_NE(facade.m_pMainFrame, nullptr);
  auto* frame = static_cast<CMainFrame*>(facade.m_pMainFrame);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->windowTitle().toStdString().rfind("Review ECG", 0), 0u);
  EXPECT_EQ(facade.GetNumberOfReviewWindows(), 1);
  // A second record opens in the same frame.
  EXPECT_EQ(facade.Review(record.c_str(), 1, 1), 1);
  EXPECT_EQ(facade.m_pMainFrame, frame);
  EXPECT_EQ(facade.GetNumberOfReviewWindows(), 2);
  frame->close();
}

TEST_F(FacadeReview, WaitingReturnsOnlyAfterTheFrameCloses) {
  const std::string record = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(record));
  CECGInterface facade;
  bool closed = false;
  QTimer::singleShot(400, [&] {
    ASSERT_NE(facade.m_pMainFrame, nullptr);
    closed = true;
    static_cast<CMainFrame*>(facade.m_pMainFrame)->close();
  });
  EXPECT_EQ(facade.Review(record.c_str(), 0, 0), 1);
  EXPECT_TRUE(closed);
}

// Copies share the review windows of the facade they were made from; the
// windows outlive whichever goes first, and the last one takes them along.
TEST_F(FacadeReview, CopiesShareTheWindowsWhicheverGoesFirst) {
  const std::string record = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(record));
  auto original = std::make_unique<CECGInterface>();
  ASSERT_EQ(original->Review(record.c_str(), 1, 1), 1);
  CECGInterface copy(*original);
  CECGInterface assigned;
  assigned = *original;
  EXPECT_EQ(copy.m_pMainFrame, original->m_pMainFrame);
  EXPECT_EQ(assigned.GetNumberOfReviewWindows(), 1);

  original.reset();
  ASSERT_NE(copy.m_pMainFrame, nullptr);
  EXPECT_EQ(copy.GetNumberOfReviewWindows(), 1);
  // The windows now call back into a copy: opening another record works.
  EXPECT_EQ(copy.Review(record.c_str(), 1, 1), 1);
  EXPECT_EQ(assigned.GetNumberOfReviewWindows(), 2);

  // A facade given another's windows leaves its own: here, none.
  assigned = CECGInterface();
  EXPECT_EQ(assigned.m_pMainFrame, nullptr);
  EXPECT_EQ(assigned.GetNumberOfReviewWindows(), 0);
  EXPECT_EQ(copy.GetNumberOfReviewWindows(), 2);
}

TEST_F(FacadeReview, UnreadableRecordOpensNothing) {
  const std::string junk = folder_.Write("junk.scp", {1, 2, 3});
  CECGInterface facade;
  EXPECT_EQ(facade.Review(junk.c_str(), 0, 0), 0);
  EXPECT_EQ(facade.GetNumberOfReviewWindows(), 0);
  EXPECT_EQ(facade.Review(nullptr, 0, 1), 0);
}

}  // namespace
}  // namespace ecg::test
