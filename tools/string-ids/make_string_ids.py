#!/usr/bin/env python3
"""Writes look/string_ids.h: a named constant for every id of the built-in
string table (look/string_table_data.cpp), so code says GetString(IDS_HIDE)
instead of GetString(375).

A name is made from the words of the English text (at most six of them); a
long help text right after a short title is named after that title with
_HELP. Where that would give two ids one name, or a name that says too
little, NAMES below gives the name by hand: a new text whose name clashes
with another stops the script until it is named here.

  make_string_ids.py [--source DIR]            writes the header
  make_string_ids.py [--source DIR] --check    exit 1 when the header is not current
"""
import argparse
import pathlib
import re
import sys

# Names given by hand: texts shared by several ids (each id is used in its own
# place), texts whose first words say little, and shorter names for long ones.
NAMES = {
    4: 'SMS',
    9: 'SYSTEM_INFO',
    13: 'EXIT',
    15: 'ACTIONS_HISTORY',
    17: 'NO_CALLS',
    18: 'ALL_CALLS_HELP',
    20: 'NO_INCOMING_CALLS',
    21: 'INCOMING_CALLS_HELP',
    23: 'NO_OUTGOING_CALLS',
    24: 'OUTGOING_CALLS_HELP',
    25: 'MISSED_CALLS',
    26: 'NO_MISSED_CALLS',
    27: 'MISSED_CALLS_HELP',
    36: 'RUNNING_APPLICATIONS',
    39: 'MEMORY_INFO_HELP',
    43: 'RUN_POCKET_WORD_HELP',
    47: 'RUN_POCKET_EXCEL_HELP',
    51: 'RUN_TASKS_HELP',
    52: 'TASKS',
    55: 'RUN_NOTES_HELP',
    56: 'NOTES',
    59: 'MESSAGING_HELP',
    61: 'NEW_APPOINTMENT_HELP',
    63: 'TODAY_HELP',
    64: 'TOMORROW',
    65: 'TOMORROW_HELP',
    67: 'THIS_WEEK_HELP',
    69: 'THIS_MONTH_HELP',
    71: 'NO_SMS_IN_INBOX',
    72: 'INBOX_HELP',
    74: 'NO_SMS_IN_SENT',
    75: 'SENT_HELP',
    77: 'NO_SMS_IN_DRAFTS',
    78: 'DRAFTS_HELP',
    80: 'NO_SMS_IN_OUTBOX',
    81: 'OUTBOX_HELP',
    83: 'NO_SMS_IN_DELETED',
    84: 'DELETED_HELP',
    85: 'SETTING_ON',
    86: 'SETTING_OFF',
    87: 'AUTO_SHOW_SETTING',
    88: 'AUTO_SHOW_HELP',
    89: 'INTERNAL_IMAGE_VIEWER_SETTING',
    90: 'INTERNAL_IMAGE_VIEWER_HELP',
    91: 'FULL_SCREEN_SETTING',
    92: 'FULL_SCREEN_HELP',
    93: 'ANIMATIONS_SETTING',
    94: 'ANIMATIONS_HELP',
    97: 'ASK_BEFORE_EXIT_SETTING',
    98: 'ASK_BEFORE_EXIT_HELP',
    99: 'ASK_BEFORE_CALL_SETTING',
    100: 'ASK_BEFORE_CALL_HELP',
    101: 'ASK_BEFORE_EXECUTE_SETTING',
    102: 'ASK_BEFORE_EXECUTE_HELP',
    103: 'ASK_BEFORE_CPL_SETTING',
    104: 'ASK_BEFORE_CPL_HELP',
    105: 'TAP_ON_CONTACT_SETTING',
    106: 'TAP_ON_CONTACT_HELP',
    109: 'DESKTOPS_COUNT_SETTING',
    110: 'DESKTOPS_COUNT_HELP',
    111: 'MIVO',
    112: 'MIVO_HELP',
    114: 'WOULD_YOU_LIKE_TO_CALL_CONTACT',
    115: 'WOULD_YOU_LIKE_TO_CALL_NUMBER',
    116: 'MAKE_A_CALL',
    118: 'WOULD_YOU_LIKE_TO_RUN_UNKNOWN_CPL',
    119: 'WOULD_YOU_LIKE_TO_RUN_CPL',
    120: 'CONTROL_PANEL',
    121: 'UNKNOWN_CONTROL_PANEL',
    130: 'CANNOT_RUN_OFFICE_APPLICATION',
    131: 'WOULD_YOU_LIKE_TO_EXECUTE',
    133: 'CANNOT_EXECUTE_FILE',
    136: 'TUTORIAL_WELCOME',
    137: 'TUTORIAL_WELCOME_TEXT',
    140: 'TOPIC_DESKTOP',
    141: 'TOPIC_DESKTOP_TEXT',
    142: 'TOPIC_DESKTOP_2',
    143: 'TOPIC_DESKTOP_2_TEXT',
    144: 'TOPIC_CONTEXT_MENU',
    145: 'TOPIC_CONTEXT_MENU_TEXT',
    146: 'TOPIC_DESIGN_MODE',
    147: 'TOPIC_DESIGN_MODE_TEXT',
    148: 'TOPIC_DESIGN_MODE_2',
    149: 'TOPIC_DESIGN_MODE_2_TEXT',
    150: 'TOPIC_ADD_CONTACT',
    151: 'TOPIC_ADD_CONTACT_TEXT',
    152: 'TOPIC_ADD_ANY_ITEM',
    153: 'TOPIC_ADD_ANY_ITEM_TEXT',
    154: 'TOPIC_GESTURES',
    155: 'TOPIC_GESTURES_TEXT',
    156: 'TUTORIAL_THANK_YOU',
    157: 'TUTORIAL_THANK_YOU_TEXT',
    123: 'SMS_SENT',
    125: 'SMS_NOT_SENT',
    158: 'ACTIONS_HISTORY_EMPTY',
    159: 'USED_TIMES',
    160: 'GRID_VIEW',
    161: 'GRID_VIEW_HELP',
    162: 'DETAILS_VIEW',
    163: 'DETAILS_VIEW_HELP',
    170: 'COLOR_THEMES',
    171: 'COLOR_THEMES_HELP',
    178: 'MAKE_A_CALL_ENTRY',
    186: 'SMS_TO_BUSINESS_2',
    195: 'CALL_RADIO',
    196: 'CONTACT_DETAILS_TAB',
    198: 'NOTES_TAB',
    200: 'BATTERY_TAB',
    206: 'GENERAL_TAB',
    208: 'TEXT_SIZE_TAB',
    210: 'WORD_COMPLETION_TAB',
    222: 'DATE_TAB',
    224: 'PHONE_TAB',
    230: 'PERSONAL_TAB',
    231: 'ROOT_TAB',
    233: 'DEVICES_TAB',
    241: 'ROOT_FOLDER',
    243: 'TOTAL_FOLDERS_AND_FILES',
    244: 'CREATE_FOLDER_ENTRY',
    245: 'PASTE_ENTRY',
    252: 'WALLPAPER_THEME_CHANGED',
    256: 'PRIORITY_LOW',
    257: 'PRIORITY_NORMAL',
    258: 'PRIORITY_HIGH',
    268: 'SENSITIVITY_CONFIDENTIAL',
    269: 'SENSITIVITY_NORMAL',
    270: 'SENSITIVITY_PERSONAL',
    271: 'SENSITIVITY_PRIVATE',
    273: 'TASK_LIST_TITLE',  # no text: the task list page's title is empty
    274: 'BATTERY_INFO_MAY_BE_IRRELEVANT',
    275: 'AC_LINE_STATUS',
    280: 'BATTERY_HIGH',
    281: 'BATTERY_LOW',
    282: 'BATTERY_CRITICAL',
    283: 'BATTERY_CHARGING',
    296: 'CALENDAR_PAGE_HELP',
    298: 'CUSTOM_COLOR_ENTRY',
    302: 'COPY_PHONE_NUMBER_HELP',
    304: 'COPY_NAME_AND_PHONE_HELP',
    305: 'CONTACT_DETAILS',
    306: 'CONTACT_DETAILS_HELP',
    307: 'SHOW_OUTLOOK_WINDOW',
    308: 'SHOW_OUTLOOK_WINDOW_HELP',
    310: 'ADD_TO_FAVORITES_HELP',
    312: 'REMOVE_FROM_FAVORITES_HELP',
    314: 'ADD_TO_DESKTOP_HELP',
    316: 'DESKTOP_WALLPAPER',
    317: 'DESKTOP_WALLPAPER_HELP',
    318: 'RENAME_FOLDER_ENTRY',
    319: 'RENAME_FILE_ENTRY',
    320: 'COPY_FOLDER_ENTRY',
    321: 'COPY_FILE_ENTRY',
    322: 'CUT_FOLDER_ENTRY',
    323: 'CUT_FILE_ENTRY',
    324: 'DELETE_FOLDER_ENTRY',
    325: 'DELETE_FILE_ENTRY',
    326: 'PASTE',
    327: 'CREATE_NEW_FOLDER',
    328: 'DESKTOP',
    329: 'DESKTOP_TITLE',
    330: 'ENTER_NEW_FILE_NAME',
    331: 'RENAME_FILE',
    332: 'ERROR_MOVING_FILE',
    333: 'WOULD_YOU_LIKE_TO_DELETE_FILE',
    334: 'DELETE_FILE',
    335: 'CANNOT_DELETE_FILE',
    336: 'WOULD_YOU_LIKE_TO_DELETE_FOLDER',
    337: 'DELETE_FOLDER',
    338: 'CANNOT_DELETE_FOLDER',
    339: 'CUSTOM_COLOR',
    344: 'DESIGN_MODE',
    345: 'DESIGN_MODE_HELP',
    348: 'ADD_GADGET_HELP',
    350: 'DELETE_GADGET_HELP',
    352: 'SWITCH_TO_DESKTOP_HELP',
    353: 'CANNOT_REMOVE_GADGET_ONLY_DESKTOP',
    354: 'GENERAL',
    356: 'FAVORITES',
    357: 'NO_FAVORITES',
    359: 'CANNOT_COPY_FILE',
    360: 'ERROR_DURING_COPYING',
    362: 'ENTER_FOLDER_NAME',
    363: 'CREATE_FOLDER',
    364: 'CANNOT_CREATE_FOLDER',
    366: 'WOULD_YOU_LIKE_TO_EXIT',
    367: 'EXIT_TITLE',
    376: 'CONTACTS_FOUND',
    377: 'SMS_LIST_PAGE',
    385: 'CONTEXT_MENU',
    386: 'RUNNING_APPLICATIONS_TITLE',
    391: 'UNREAD',
    393: 'SMS_TITLE',
    394: 'SYSTEM_INFO_TITLE',
    395: 'TASKS_TITLE',
    396: 'VOLUME_TITLE',
    397: 'GADGET_CLOCK',
    398: 'GADGET_CLOCK_HELP',
    399: 'GADGET_DATE',
    400: 'GADGET_DATE_HELP',
    401: 'GADGET_BATTERY',
    402: 'GADGET_BATTERY_HELP',
    403: 'GADGET_OPERATOR_NAME',
    404: 'GADGET_OPERATOR_NAME_HELP',
    405: 'GADGET_SIGNAL',
    406: 'GADGET_SIGNAL_HELP',
    407: 'GADGET_CONNECTION_MANAGER',
    408: 'GADGET_CONNECTION_MANAGER_HELP',
    409: 'GADGET_MEMORY_STATUS',
    410: 'GADGET_MEMORY_STATUS_HELP',
    411: 'GADGET_FAVORITES',
    412: 'GADGET_FAVORITES_HELP',
    413: 'GADGET_ACTIONS_HISTORY',
    414: 'GADGET_ACTIONS_HISTORY_HELP',
    415: 'GADGET_MISSED_CALLS',
    416: 'GADGET_MISSED_CALLS_HELP',
    417: 'GADGET_UNREAD_SMS',
    418: 'GADGET_UNREAD_SMS_HELP',
    419: 'GADGET_UNREAD_MMS',
    420: 'GADGET_UNREAD_MMS_HELP',
    421: 'GADGET_UNREAD_EMAIL',
    422: 'GADGET_UNREAD_EMAIL_HELP',
    423: 'GADGET_CALENDAR',
    424: 'GADGET_CALENDAR_HELP',
    425: 'GADGET_TASKS',
    426: 'GADGET_TASKS_HELP',
    427: 'GADGET_BLUETOOTH',
    428: 'GADGET_BLUETOOTH_HELP',
    429: 'GADGET_ALARM',
    430: 'GADGET_ALARM_HELP',
    431: 'GADGET_DIVIDER',
    432: 'GADGET_DIVIDER_HELP',
    433: 'GADGET_FAVORITES_PANEL',
    434: 'GADGET_FAVORITES_PANEL_HELP',
    435: 'GADGET_ACTIONS_HISTORY_PANEL',
    436: 'GADGET_ACTIONS_HISTORY_PANEL_HELP',
    437: 'GADGET_SMS_PANEL',
    438: 'GADGET_SMS_PANEL_HELP',
    439: 'GADGET_LAST_CALL_PANEL',
    440: 'GADGET_LAST_CALL_PANEL_HELP',
    441: 'GADGET_TODAY_PLUGIN',
    442: 'GADGET_TODAY_PLUGIN_HELP',
    443: 'GADGET_MIVO_PLUGIN',
    444: 'GADGET_MIVO_PLUGIN_HELP',
    445: 'GADGET_VOLUME',
    446: 'GADGET_VOLUME_HELP',
    447: 'GADGET_DESKTOP_SWITCHER',
    448: 'GADGET_DESKTOP_SWITCHER_HELP',
    449: 'EXPERIMENTAL',
    451: 'ICON_WITH_TEXT_HELP',
    453: 'ICON_ONLY_HELP',
    454: 'ICON_DETAILS_VIEW',
    455: 'ICON_DETAILS_VIEW_HELP',
    458: 'ALARM_ICON_SIZE_HELP',
    467: 'CLOCK_VIEW_HELP',
    469: 'RADIO_OFF',
    470: 'RADIO_ON',
    471: 'RADIO_NOT_AVAILABLE',
    472: 'RADIO_DISABLED',
    473: 'RADIO_DEVICES',
    474: 'RADIO_PHONE',
    475: 'RADIO_WIFI',
    476: 'RADIO_BLUETOOTH',
    492: 'TEXT_SIZE',
    493: 'TEXT_POINTS',
    495: 'TEXT_COLOR_HELP',
    496: 'TEXT_POSITION_HELP',
    502: 'HALF_LINE_SIZE',
    509: 'PEN_POINTS',
    513: 'NO_SMS_IN_INBOX_PANEL',
    514: 'SET_TODAY_PLUGIN_IN_DESIGN_MODE',
    515: 'PLUGIN_DLL_CANNOT_BE_LOADED',
    516: 'PLUGIN_DLL_NOT_TODAY_PLUGIN',
    518: 'CANNOT_READ_PLUGINS_LIST',
    520: 'CALENDAR',
    522: 'UNKNOWN_PAGE_NAME',
    537: 'MOST_USED_ACTIONS_HELP',
    539: 'MOST_USED_SETTINGS_HELP',
    541: 'MOST_USED_APPLICATIONS_HELP',
    543: 'MOST_USED_CALLS_HELP',
    545: 'MOST_WRITTEN_SMS_HELP',
    547: 'CHANGE_DESKTOP_ICON_HELP',
    549: 'TEXT_CLOCK_HELP',
    551: 'GRAPHICAL_CLOCK_HELP',
    553: 'DATE_FORMAT_HELP',
    561: 'SHARE_HELP',
    563: 'STOP_SHARING_HELP',
    567: 'CANNOT_DELETE_SHARED_GADGET',
}

MAX_WORDS = 6


def read_table(source):
    """(id, text) of every id with a text, and of every id without one that
    NAMES names (its text None), in id order; the text as written in C++."""
    data = (source / 'look' / 'string_table_data.cpp').read_text(encoding='utf-8')
    entries = []
    for m in re.finditer(r'/\* (\d+) \*/ (?:nullptr|u"((?:[^"\\]|\\.)*)")', data):
        if m.group(2) is not None or int(m.group(1)) in NAMES:
            entries.append((int(m.group(1)), m.group(2)))
    if not entries:
        sys.exit('make_string_ids: no texts found in look/string_table_data.cpp')
    return entries


def words(text):
    text = re.sub(r'\\n|%[ds%]', ' ', text).replace("'", '')
    return [w.upper() for w in re.findall(r'[A-Za-z0-9]+', text)]


def make_names(entries):
    texts = dict(entries)
    names = {}
    for i, text in entries:
        if i in NAMES:
            names[i] = NAMES[i]
            continue
        w = words(text)
        previous = words(texts.get(i - 1) or '')
        if len(w) > 8 and 0 < len(previous) <= 4 and i - 1 in names:
            names[i] = names[i - 1] + '_HELP'
        else:
            names[i] = '_'.join(w[:MAX_WORDS])
    seen = {}
    faults = []
    for i, name in names.items():
        if not re.fullmatch(r'[A-Z][A-Z0-9_]*', name):
            faults.append(f'id {i} has no usable name ({name!r}); name it in NAMES')
        elif name in seen:
            faults.append(f'ids {seen[name]} and {i} would both be IDS_{name}; name one in NAMES')
        seen.setdefault(name, i)
    if faults:
        sys.exit('\n'.join('make_string_ids: ' + f for f in faults))
    return names


def header(entries, names):
    lines = [
        '// Generated by tools/string-ids/make_string_ids.py from look/string_table_data.cpp:',
        '// do not edit. Every id of the built-in string table by name, with its English',
        '// text; GetString(IDS_...) fetches the current language\'s text.',
        '#pragma once',
        '',
    ]
    width = max(len(n) for n in names.values()) + len('constexpr int IDS_ = 567;')
    for i, text in entries:
        code = f'constexpr int IDS_{names[i]} = {i};'.ljust(width)
        if text is None:
            lines.append(f'{code}  // (no text)')
            continue
        room = 119 - len(code) - len('  // ""')
        shown = text if len(text) <= room else text[:room - 3].rstrip('\\') + '...'
        lines.append(f'{code}  // "{shown}"')
    return '\n'.join(lines) + '\n'


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--source', default=pathlib.Path(__file__).resolve().parents[2], type=pathlib.Path)
    parser.add_argument('--check', action='store_true')
    args = parser.parse_args()
    entries = read_table(args.source)
    text = header(entries, make_names(entries))
    target = args.source / 'look' / 'string_ids.h'
    if args.check:
        current = target.read_text(encoding='utf-8') if target.exists() else ''
        if current != text:
            print(f'{target} is not current: run tools/string-ids/make_string_ids.py', file=sys.stderr)
            return 1
        return 0
    target.write_text(text, encoding='utf-8')
    return 0


if __name__ == '__main__':
    sys.exit(main())
