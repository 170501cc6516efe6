// The definition of the main window and its download button. Compiled with
// -fexec-charset=GBK: the texts below reach the system as GBK bytes.
#include "ui/main_window_definition.h"

#include "prompt/download_prompt.h"

const ControlDefinition DownloadButton = {
    "按钮1",                    // name
    "BUTTON",                   // className
    "点击我下载辅助 ",          // caption; the trailing blank is part of it
    24,                         // left
    16,                         // top
    312,                        // width
    176,                        // height
    WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER
        | BS_MULTILINE,         // style: a normal push button, not the default one
    true,                       // visible
    0,                          // tabOrder
    OnDownloadButtonClicked,    // onClick
};

static const ControlDefinition* const MainWindowControls[] = {&DownloadButton};

const WindowDefinition MainWindowDefinition = {
    MainWindowDefinitionId,     // identifier
    "Quorvel专用下载器",        // title
    50,                         // left
    50,                         // top
    380,                        // width
    250,                        // height
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,  // style: fixed frame, close box only
    true,                       // closesOnEscape
    MainWindowControls,         // controls
    sizeof MainWindowControls / sizeof *MainWindowControls,     // controlCount
};

static_assert(sizeof MainWindowControls / sizeof *MainWindowControls <= MaxControlsPerWindow);

static const WindowDefinition* const WindowDefinitions[] = {&MainWindowDefinition};

const WindowDefinition* FindWindowDefinition(DWORD identifier)
{
    for (const WindowDefinition* definition : WindowDefinitions) {
        if (definition->identifier == identifier)
            return definition;
    }
    return nullptr;
}
