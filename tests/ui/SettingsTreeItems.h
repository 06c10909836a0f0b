#pragma once

#include "ui/TreeForm.h"

#include <QStringList>
#include <QTreeWidget>

// The view node of a setting in the settings tree, named by its path below
// "Grafikeinstellung" (or below the root for "Editor und Seitenränder");
// nullptr when there is none.
inline QTreeWidgetItem* SettingItem(const TTreeForm& tree, const QStringList& path) {
    QTreeWidgetItem* item = tree.TreeView1->topLevelItem(0);
    if (path.front() != QStringLiteral("Editor und Seitenränder"))
        item = item->child(0);
    for (const QString& name : path) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == name)
                next = item->child(i);
        if (!next)
            return nullptr;
        item = next;
    }
    return item;
}
