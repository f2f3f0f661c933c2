// The control's tests host it in this program: OLE is started on the main
// thread, and the module's resources (linked into this program) are found
// through the program's own instance handle.
#include <gtest/gtest.h>

#include <ole2.h>

#include "class_factory.h"

namespace {

class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        zel::ole::SetModuleInstance(GetModuleHandleA(nullptr));
    }
    void TearDown() override { OleUninitialize(); }
};

[[maybe_unused]] ::testing::Environment* const gOleEnvironment =
    ::testing::AddGlobalTestEnvironment(new OleEnvironment);

}  // namespace
