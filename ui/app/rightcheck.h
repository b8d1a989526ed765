#pragma once

class CVantrelApp;

// Whether the current user holds the right (0 to 38); when not, tells the user so
// ("抱歉!您没有该项功能操作权限，请与管理员联系!") over the main window. With reRead the
// rights are read from the database first, so an administrator's change counts at once.
bool CheckRightWithMessage(int index, CVantrelApp &app, bool reRead);
