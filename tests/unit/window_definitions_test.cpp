// The window definitions: lookup by identifier and the values of the main window's records.
#include <gtest/gtest.h>

#include "ui/main_window_definition.h"

TEST(WindowDefinitions, FindsTheMainWindowByItsIdentifier)
{
    EXPECT_EQ(FindWindowDefinition(0x52010001), &MainWindowDefinition);
}
