#include "platform/whole_file.h"

#include <QSaveFile>

namespace treld {

bool saveWholeFile(const QString& file, const QByteArray& content) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (!out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        out.write(content) != content.size() || !out.flush()) {
        // A failure of the buffered write shows only here, not in commit().
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace treld
