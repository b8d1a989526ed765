#pragma once

// Profile value and section names of the window layout and options, the banner page and the
// names of the person table, shared by every part of the program.
inline constexpr char16_t strPanes[] = u"Panes";
inline constexpr char16_t strBannerPath[]
    = u"%1/html/banner.htm"; // QString::arg with the program folder
inline constexpr char16_t strMDIForm[] = u"MDIForm";
inline constexpr char16_t strMaximize[] = u"Maximize";
inline constexpr char16_t strLeft[] = u"Left";
inline constexpr char16_t strTop[] = u"Top";
inline constexpr char16_t strWidth[] = u"Width";
inline constexpr char16_t strHeight[] = u"Height";
inline constexpr char16_t strApplicationLook[] = u"ApplicationLook";
inline constexpr char16_t strMDITabsType[] = u"MDITabsType";
inline constexpr char16_t strMDITabsLocation[] = u"MDITabsLocation";
inline constexpr char16_t strOutlookAnimation[] = u"OutlookAnimation";
inline constexpr char16_t strBannerHeight[] = u"BannerHeight";
inline constexpr char16_t strEnableIdleLocked[] = u"EnableIdleLocked";
inline constexpr char16_t strIdleLockTime[] = u"IdleLockTime";
inline constexpr char16_t strEnableWakeup[] = u"EnableWakeup";
inline constexpr char16_t strWakeupPerTime[] = u"WakeupPerTime";
inline constexpr char16_t strNumber[] = u"Number";
inline constexpr char16_t strName[] = u"Name";
inline constexpr char16_t strPsnBase[] = u"QZ_PSNBASE";
