// Files replaced as a whole (sts.cfg, a saved trend range): Qt's QSaveFile
// writes a temporary file beside the target, syncs it and renames it over.
#pragma once

#include <QByteArray>
#include <QString>

namespace treld {

// Readable and writable by the owner only, before the first byte goes in.
// False, the target untouched and no temporary file left, when it fails.
bool saveWholeFile(const QString& file, const QByteArray& content);

}  // namespace treld
