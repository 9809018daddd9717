// Every element the core declares has its widget or menu action, and every
// widget or action that carries a name stands for a declared element.
#include <gtest/gtest.h>

#include <QTabBar>
#include <map>

#include "windows_rig.h"

namespace treld::testing {
namespace {

// Qt names some parts of its own widgets (a layout, the tab bar's scroll
// buttons, "qt_..."); they stand for no control.
bool partOfQt(QObject* object) {
    return (!object->isWidgetType() && qobject_cast<QAction*>(object) == nullptr) ||
           object->objectName().startsWith("qt_") ||
           qobject_cast<QTabBar*>(object->parent()) != nullptr;
}

TEST(ElementNames, EveryDeclaredElementHasOneWidgetAndEveryNamedWidgetIsDeclared) {
    WindowsRig rig;
    // The window an object belongs to: the nearest of the six above it.
    auto windowOf = [&](QObject* object) -> int {
        for (; object != nullptr; object = object->parent()) {
            for (int f = 0; f < kFormCount; ++f) {
                if (object == rig.windows[f])
                    return f;
            }
        }
        return -1;
    };
    std::map<std::string, int> named;  // "Form2.Text1" -> how many objects carry it
    for (int f = 0; f < kFormCount; ++f) {
        QList<QObject*> objects = rig.windows[f]->findChildren<QObject*>();
        objects << rig.windows[f];
        for (QObject* object : objects) {
            const QString name = object->objectName();
            if (!name.isEmpty() && !partOfQt(object) && windowOf(object) == f)
                ++named["Form" + std::to_string(f + 1) + "." + name.toStdString()];
        }
    }
    std::vector<std::string> missing, twice;
    for (int f = 0; f < kFormCount; ++f) {
        for (const auto& [name, element] : rig.monitor.ui().elements(static_cast<Form>(f))) {
            const std::string key = "Form" + std::to_string(f + 1) + "." + name;
            const auto widget = named.find(key);
            if (widget == named.end()) {
                missing.push_back(key);
                continue;
            }
            if (widget->second > 1)
                twice.push_back(key);
            named.erase(widget);
        }
    }
    EXPECT_EQ(missing, std::vector<std::string>{}) << "declared, but no widget carries the name";
    EXPECT_EQ(twice, std::vector<std::string>{}) << "more than one widget carries the name";
    EXPECT_EQ(named, (std::map<std::string, int>{})) << "named widgets the core does not declare";
}

}  // namespace
}  // namespace treld::testing
