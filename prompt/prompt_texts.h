// The texts of the download prompt, as GBK bytes, and the two pages it opens.
#pragma once

extern const char ForumNoticeText[];
extern const char GroupNoticeText[];
extern const char NoticeCaption[];
extern const char ForumPageAddress[];
extern const char GroupPageAddress[];
