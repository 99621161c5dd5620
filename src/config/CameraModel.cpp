#include "config/CameraModel.h"

namespace config {

CameraModel::CameraModel(QObject *parent)
    : QObject(parent)
    , m_types(cameras) {
    for (int k = 1; k <= cameras; ++k)
        m_titles.append(designTitle(k));
}

QString CameraModel::designTitle(int camera) {
    return QStringLiteral("CAMERA %1").arg(camera);
}

void CameraModel::setTitle(int camera, const QString &title) {
    if (camera < 1 || camera > cameras)
        return;
    m_titles[camera - 1] = title;
    emit titleChanged(camera, title);
}

void CameraModel::setType(int camera, const QString &type) {
    if (camera >= 1 && camera <= cameras)
        m_types[camera - 1] = type;
}

} // namespace config
