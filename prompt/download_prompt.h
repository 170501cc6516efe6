// What a click of the download button does.
#pragma once

// The forum notice, the forum page, the group notice, the group page, in that order.
void OnDownloadButtonClicked();

// One notice with the given text, returning when the user has closed it.
void ShowNotice(const char* text);
