// The numbers of the catalogue's pages that other pages, gadgets and actions
// open by number (ShowPageById); actions and layout files store the same
// numbers, so they never change.
#pragma once

constexpr int kMainMenuPage = 0;
constexpr int kCallLogPage = 1;
constexpr int kReadSMSPage = 5;
constexpr int kWriteSMSPage = 6;
constexpr int kSMSListPage = 8;
constexpr int kImageViewPage = 14;
constexpr int kFavoritesPage = 15;
constexpr int kContactDetailsPage = 16;
constexpr int kDocumentListPage = 17;
constexpr int kTaskListPage = 18;
constexpr int kPhonePage = 19;  // the contacts with the dial pad
constexpr int kActionsHistoryPage = 24;
constexpr int kCalendarPage = 32;
constexpr int kLanguagesPage = 35;
