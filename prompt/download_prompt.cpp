#include "prompt/download_prompt.h"

#include <windows.h>

#include "prompt/prompt_texts.h"
#include "prompt/web_page_launcher.h"

void OnDownloadButtonClicked()
{
    // No step depends on how the one before it ended.
    ShowNotice(ForumNoticeText);
    OpenWebPage(ForumPageAddress);
    ShowNotice(GroupNoticeText);
    OpenWebPage(GroupPageAddress);
}

void ShowNotice(const char* text)
{
    // Task-modal without an owner: the system disables the main window while the notice
    // is shown, so no second click can start the sequence again meanwhile.
    MessageBoxA(nullptr, text, NoticeCaption, MB_OK | MB_TASKMODAL);
}
