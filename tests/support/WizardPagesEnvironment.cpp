// The wizard's real pages, registered before the first test as the program
// registers them at its start. Linked (as the object library
// test_wizard_pages) into every test program that runs the pages; a test
// that wants a stand-in for one registers it in its own set-up, which comes
// after: RegisterWizardPages() acts once only.
#include <gtest/gtest.h>

#include "PageRegistry.h"

namespace {

class WizardPagesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { RegisterWizardPages(); }
};

[[maybe_unused]] ::testing::Environment* const kWizardPages =
    ::testing::AddGlobalTestEnvironment(new WizardPagesEnvironment);

}  // namespace
