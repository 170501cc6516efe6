// Compiled with -fexec-charset=GBK: the texts below reach the system as GBK bytes.
#include "prompt/prompt_texts.h"

#include "prompt/page_addresses.h"

const char ForumNoticeText[] = "先到论坛注册一个用户吧！里面有辅助哦！";
const char GroupNoticeText[] = "或者加入Quorvel家族";
const char NoticeCaption[] = "信息：";

// Set when the program is configured (QUORVEL_FORUM_PAGE_ADDRESS, QUORVEL_GROUP_PAGE_ADDRESS).
const char ForumPageAddress[] = FORUM_PAGE_ADDRESS;
const char GroupPageAddress[] = GROUP_PAGE_ADDRESS;
