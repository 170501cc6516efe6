#include "app/start_program.h"

#include "app/message_loop.h"
#include "app/startup_window.h"
#include "ui/main_window_definition.h"

int StartProgram()
{
    LoadStartupWindow(MainWindowDefinitionId);
    RunMessageLoop();
    return 0;
}
