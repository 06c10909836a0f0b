#pragma once

class QWidget;

// Help topic numbers of the windows, dialogs and grids. A widget names its
// topic once; F1 shows the topic of the focused widget or of the nearest
// parent that has one.
void SetHelpTopic(QWidget* widget, int topic);
// The topic of the widget or of its nearest parent with one; 0 when none.
int FindHelpTopic(const QWidget* widget);
