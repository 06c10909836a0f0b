#include "ui/Help.h"

#include <QVariant>
#include <QWidget>

namespace {
const char* const kHelpTopicProperty = "balkorHelpTopic";
}

void SetHelpTopic(QWidget* widget, int topic) {
    widget->setProperty(kHelpTopicProperty, topic);
}

int FindHelpTopic(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const QVariant topic = widget->property(kHelpTopicProperty);
        if (topic.isValid() && topic.toInt() > 0)
            return topic.toInt();
    }
    return 0;
}
