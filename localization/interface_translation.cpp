// SPDX-License-Identifier: MIT
// The walk over Qt's object tree with a queue and a children array, and the
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
#include <vector>

#include "dyna_array.h"
#include "file_dialog_settings.h"
#include "translation_store.h"

namespace tessarin {

namespace {

// One record of the queue and of the children array.
struct ComponentRecord {
  QObject* component;
};

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
void CollectBelow(const QObject* owner, std::vector<QObject*>& components) {
  for (QObject* child : owner->children()) {
    if (IsWindow(child)) continue;
    components.push_back(child);
    CollectBelow(child, components);
  }
}

// The windows below `window`, depth first in Qt's child order.
void CollectWindowsBelow(const QObject* window, std::vector<QObject*>& windows) {
  for (QObject* child : window->children()) {
    if (IsWindow(child)) windows.push_back(child);
    CollectWindowsBelow(child, windows);
  }
}

std::vector<QObject*> OwnedComponents(QObject* owner, bool root) {
  std::vector<QObject*> owned;
  if (owner == QCoreApplication::instance()) {
    // Qt records no order among windows without a parent (the program has
    // one); the windows below each come in the order of their creation.
    if (qobject_cast<QApplication*>(owner) == nullptr) return owned;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->parentWidget() != nullptr || !IsWindow(widget)) continue;
      owned.push_back(widget);
      CollectWindowsBelow(widget, owned);
    }
  } else if (root || IsWindow(owner)) {
    CollectBelow(owner, owned);
  }
  return owned;
}

QString Translate(const QString& text) {
  if (text.isEmpty()) return text;
  return QString::fromStdU16String(TranslateText(text.toStdU16String()));
}

// Reads a text, translates it and writes it back when it changed.
template <typename Read, typename Write>
void TranslateProperty(Read read, Write write) {
  const QString text = read();
  const QString translated = Translate(text);
  if (translated != text) write(translated);
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

void TranslateToolTip(QWidget& widget) {
  TranslateProperty([&] { return widget.toolTip(); },
                    [&](const QString& text) { widget.setToolTip(text); });
}

void TranslateCaption(QWidget& window) {
  TranslateProperty([&] { return window.windowTitle(); },
                    [&](const QString& text) { window.setWindowTitle(text); });
}

void TranslateLines(QPlainTextEdit& field) {
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
void TranslateTexts(QObject* component) {
  if (auto* label = qobject_cast<QLabel*>(component)) {
    TranslateProperty([&] { return label->text(); },
                      [&](const QString& text) { label->setText(text); });
  } else if (auto* box = qobject_cast<QCheckBox*>(component)) {
    TranslateToolTip(*box);
    TranslateProperty([&] { return box->text(); },
                      [&](const QString& text) { box->setText(text); });
  } else if (IsWindow(component)) {
    TranslateCaption(*static_cast<QWidget*>(component));
  } else if (auto* button = qobject_cast<QPushButton*>(component)) {
    TranslateProperty([&] { return button->text(); },
                      [&](const QString& text) { button->setText(text); });
    TranslateToolTip(*button);
  } else if (auto* group = qobject_cast<QGroupBox*>(component)) {
    TranslateProperty([&] { return group->title(); },
                      [&](const QString& text) { group->setTitle(text); });
    TranslateToolTip(*group);
  } else if (auto* action = qobject_cast<QAction*>(component)) {
    TranslateProperty([&] { return action->text(); },
                      [&](const QString& text) { action->setText(text); });
    TranslateProperty([&] { return ExplicitToolTip(*action); },
                      [&](const QString& text) { action->setToolTip(text); });
  } else if (auto* grid = qobject_cast<QTableWidget*>(component)) {
    for (int column = 0; column < grid->columnCount(); ++column) {
      QTableWidgetItem* heading = grid->horizontalHeaderItem(column);
      if (heading == nullptr) continue;
      TranslateProperty([&] { return heading->text(); },
                        [&](const QString& text) { heading->setText(text); });
    }
  } else if (auto* dialog = qobject_cast<FileDialogSettings*>(component)) {
    TranslateProperty([&] { return dialog->filter(); },
                      [&](const QString& text) { dialog->setFilter(text); });
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(component)) {
    TranslateLines(*memo);
  } else if (auto* field = qobject_cast<QLineEdit*>(component)) {
    TranslateProperty([&] { return field->text(); },
                      [&](const QString& text) { field->setText(text); });
  }
}

}  // namespace

void TranslateComponents(QObject* root) {
  if (root == nullptr) return;
  ComponentRecord* queued = nullptr;
  ComponentRecord* collected = nullptr;
  TDynaArray queue(sizeof(ComponentRecord), &queued);
  TDynaArray children(sizeof(ComponentRecord), &collected);

  if (queue.Add() != nullptr) queued->component = root;
  if (IsWindow(root)) TranslateCaption(*static_cast<QWidget*>(root));
  while (queue.count() > 0) {
    children.Clear();
    queue.GetObject(0);
    QObject* const owner = queued->component;
    const std::vector<QObject*> owned = OwnedComponents(owner, owner == root);
    for (auto i = owned.size(); i-- > 0;) {
      QObject* const component = owned[i];
      if (children.Add() != nullptr) collected->component = component;
      TranslateTexts(component);
    }
    queue.Delete(0);
    children.First();
    while (children.WhileNext()) {
      QObject* const component = collected->component;
      if (queue.Add() != nullptr) queued->component = component;
    }
    children.Clear();
  }
}

}  // namespace tessarin
