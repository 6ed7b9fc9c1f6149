// The help topics: what the help tutorial walks through, box by box, and what
// the FAQ page lists as questions. Each is a title and a text of the string
// table.
#pragma once

#include "look/string_ids.h"

struct mivoHelpTopic {
  int title;  // string id of the topic's title (the tutorial box's title, the FAQ's question)
  int text;   // string id of its text (the box's text, the answer)
};

inline constexpr mivoHelpTopic kHelpTopics[] = {
    {IDS_TOPIC_DESKTOP, IDS_TOPIC_DESKTOP_TEXT},
    {IDS_TOPIC_DESKTOP_2, IDS_TOPIC_DESKTOP_2_TEXT},
    {IDS_TOPIC_CONTEXT_MENU, IDS_TOPIC_CONTEXT_MENU_TEXT},
    {IDS_TOPIC_DESIGN_MODE, IDS_TOPIC_DESIGN_MODE_TEXT},
    {IDS_TOPIC_DESIGN_MODE_2, IDS_TOPIC_DESIGN_MODE_2_TEXT},
    {IDS_TOPIC_ADD_CONTACT, IDS_TOPIC_ADD_CONTACT_TEXT},
    {IDS_TOPIC_ADD_ANY_ITEM, IDS_TOPIC_ADD_ANY_ITEM_TEXT},
    {IDS_TOPIC_GESTURES, IDS_TOPIC_GESTURES_TEXT},
};
