// SPDX-License-Identifier: MIT
// The walk over Qt's object tree, breadth first through one queue, and the
// texts translated for each kind of component.
#include "interface_translation.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QWidget>
#include <algorithm>
#include <deque>

#include "file_dialog_settings.h"
#include "translation_store.h"

namespace tessarin {

namespace {

using Queue = std::deque<QObject*>;

// A window of its own: a top-level widget that is no popup, tooltip or the
// like.
bool IsWindow(const QObject* object) {
  const auto* widget = qobject_cast<const QWidget*>(object);
  if (widget == nullptr || !widget->isWindow()) return false;
  const Qt::WindowType type = widget->windowType();
  return type == Qt::Window || type == Qt::Dialog;
}

// Everything below `owner` in Qt's child order, depth first, except windows
// and what they hold.
void CollectBelow(const QObject* owner, Queue& components) {
  for (QObject* child : owner->children()) {
    if (IsWindow(child)) continue;
    components.push_back(child);
    CollectBelow(child, components);
  }
}

// The windows below `window`, depth first in Qt's child order.
void CollectWindowsBelow(const QObject* window, Queue& windows) {
  for (QObject* child : window->children()) {
    if (IsWindow(child)) windows.push_back(child);
    CollectWindowsBelow(child, windows);
  }
}

// Appends what `owner` owns to `owned`, first to last.
void AppendOwned(QObject* owner, bool root, Queue& owned) {
  if (owner == QCoreApplication::instance()) {
    // Qt records no order among windows without a parent (the program has
    // one); the windows below each come in the order of their creation.
    if (qobject_cast<QApplication*>(owner) == nullptr) return;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->parentWidget() != nullptr || !IsWindow(widget)) continue;
      owned.push_back(widget);
      CollectWindowsBelow(widget, owned);
    }
  } else if (root || IsWindow(owner)) {
    CollectBelow(owner, owned);
  }
}

// The tooltip of `action` when one was set: without one Qt gives the text
// (without mnemonics and "...") instead, which a fresh action with the same
// texts shows as well.
QString ExplicitToolTip(const QAction& action) {
  QAction plain;
  plain.setText(action.text());
  plain.setIconText(action.iconText());
  const QString tip = action.toolTip();
  return tip == plain.toolTip() ? QString() : tip;
}

// The texts of components through one store's lookups.
class TextTranslator {
 public:
  explicit TextTranslator(TranslationStore& store) : store_(store) {}

  QString Translate(const QString& text) {
    if (text.isEmpty()) return text;
    return QString::fromStdU16String(store_.TranslateText(text.toStdU16String()));
  }

  // Reads a text, translates it and writes it back when it changed.
  template <typename Read, typename Write>
  void Property(Read read, Write write) {
    const QString text = read();
    const QString translated = Translate(text);
    if (translated != text) write(translated);
  }

  void ToolTip(QWidget& widget) {
    Property([&] { return widget.toolTip(); },
             [&](const QString& text) { widget.setToolTip(text); });
  }

  void Caption(QWidget& window) {
    Property([&] { return window.windowTitle(); },
             [&](const QString& text) { window.setWindowTitle(text); });
  }

  void Lines(QPlainTextEdit& field) {
    field.viewport()->update();
    QTextDocument* document = field.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      const QString line = block.text();
      const QString translated = Translate(line);
      if (translated == line) continue;
      QTextCursor cursor(block);
      cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      cursor.insertText(translated);
    }
  }

  // The texts of `component` by the first kind that matches.
  void Texts(QObject* component) {
    if (auto* label = qobject_cast<QLabel*>(component)) {
      Property([&] { return label->text(); }, [&](const QString& text) { label->setText(text); });
    } else if (auto* box = qobject_cast<QCheckBox*>(component)) {
      ToolTip(*box);
      Property([&] { return box->text(); }, [&](const QString& text) { box->setText(text); });
    } else if (IsWindow(component)) {
      Caption(*static_cast<QWidget*>(component));
    } else if (auto* button = qobject_cast<QPushButton*>(component)) {
      Property([&] { return button->text(); }, [&](const QString& text) { button->setText(text); });
      ToolTip(*button);
    } else if (auto* group = qobject_cast<QGroupBox*>(component)) {
      Property([&] { return group->title(); }, [&](const QString& text) { group->setTitle(text); });
      ToolTip(*group);
    } else if (auto* action = qobject_cast<QAction*>(component)) {
      Property([&] { return action->text(); }, [&](const QString& text) { action->setText(text); });
      Property([&] { return ExplicitToolTip(*action); },
               [&](const QString& text) { action->setToolTip(text); });
    } else if (auto* grid = qobject_cast<QTableWidget*>(component)) {
      for (int column = 0; column < grid->columnCount(); ++column) {
        QTableWidgetItem* heading = grid->horizontalHeaderItem(column);
        if (heading == nullptr) continue;
        Property([&] { return heading->text(); },
                 [&](const QString& text) { heading->setText(text); });
      }
    } else if (auto* dialog = qobject_cast<FileDialogSettings*>(component)) {
      Property([&] { return dialog->filter(); },
               [&](const QString& text) { dialog->setFilter(text); });
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(component)) {
      Lines(*memo);
    } else if (auto* field = qobject_cast<QLineEdit*>(component)) {
      Property([&] { return field->text(); }, [&](const QString& text) { field->setText(text); });
    }
  }

 private:
  TranslationStore& store_;
};

}  // namespace

void TranslateComponents(QObject* root, TranslationStore& store) {
  if (root == nullptr) return;
  TextTranslator translator(store);
  if (IsWindow(root)) translator.Caption(*static_cast<QWidget*>(root));
  // Each owner's components join the end of the queue from the last to the
  // first, and are translated as they join.
  Queue queue{root};
  while (!queue.empty()) {
    QObject* const owner = queue.front();
    queue.pop_front();
    const auto first = static_cast<Queue::difference_type>(queue.size());
    AppendOwned(owner, owner == root, queue);
    std::reverse(queue.begin() + first, queue.end());
    for (auto i = queue.begin() + first; i != queue.end(); ++i) translator.Texts(*i);
  }
}

}  // namespace tessarin
