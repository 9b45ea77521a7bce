#pragma once

// What screen readers are told about a window's controls.

class QLabel;
class QString;
class QWidget;

namespace ralvo::platform {

// Gives `control` an accessible name (what a screen reader announces).
void NameControl(QWidget *control, const QString &name);

// Makes `label` the visible name of `field` (its buddy); the field's
// accessible name follows the label's text unless it has one of its own.
void LabelField(QLabel *label, QWidget *field);

// Every widget in `window` (the window included) whose hint is set and which
// has no accessible description yet gets its hint as description: the status
// text, else the tool tip.
void DescribeByHints(QWidget &window);

} // namespace ralvo::platform
