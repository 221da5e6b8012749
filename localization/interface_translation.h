// SPDX-License-Identifier: MIT
// The walk over the windows that replaces each translatable text by its
// translation in the language in force.
#pragma once

class QObject;

namespace tessarin {

class TranslationStore;

// Translates the texts of everything that `root` owns, breadth first and,
// within one owner, from the last owned component to the first. With the
// application object as root: the captions of all windows, then the
// components of each window. With a window as root: its caption, then its
// components. Every text passes through `store`'s TranslateText, in its
// language in force, so unknown texts are learned.
//
// Ownership over Qt's object tree:
// - the application owns the windows (main windows, dialogs and other
//   top-level widgets that are no popups): each window without a parent,
//   followed by the windows below it in Qt's child order, which is the order
//   of their creation (a dialog is a Qt child of its main window, but the
//   application's here);
// - a window owns every object below it directly, controls inside panels and
//   menu items included, in the order of a depth-first walk of Qt's
//   children, but not the windows below it nor what those hold;
// - any other root owns what lies below it in the same way; a component met
//   during the walk that is no window owns nothing (its window owns it).
//
// The kinds and their texts, first match applies:
// 1. QLabel: its text; QCheckBox: tooltip, then text; window: its title;
// 2. QPushButton: text, then tooltip; QGroupBox: title, then tooltip;
// 3. QAction (menu items, and a menu's own title through its menu action):
//    text, then tooltip when one was set (Qt shows the text as tooltip
//    otherwise, which follows the translated text by itself);
// 4. QTableWidget: its heading row (the horizontal header items), column 0
//    to the last, one by one;
// 5. FileDialogSettings: the filter, as one text;
// 6. QPlainTextEdit: each line, first to last, put back in its place;
// 7. QLineEdit: its text.
// Nothing else is translated: not the tooltips of labels, windows and text
// fields, nor status bars, progress bars, menu bars or the grid's cells. A
// text that comes back unchanged is not written back (a label holding a
// picture keeps it).
void TranslateComponents(QObject* root, TranslationStore& store);

}  // namespace tessarin
