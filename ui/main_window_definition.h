// The program's one window and its button.
#pragma once

#include "ui/window_definition.h"

constexpr DWORD MainWindowDefinitionId = 0x52010001;

extern const ControlDefinition DownloadButton;
extern const WindowDefinition MainWindowDefinition;
