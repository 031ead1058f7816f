#include "store/Convnot.h"

#include "app/Placement.h"

#include <QLabel>
#include <QVBoxLayout>

TConvertNotify::TConvertNotify(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("ConvertNotify"));
    setWindowTitle(QString());
    WhatAmIdoing = new QLabel(QStringLiteral("Converting to new Quillary! file format...."), this);
    WhatAmIdoing->setObjectName(QStringLiteral("WhatAmIdoing"));
    Status = new QLabel(QStringLiteral("Working..."), this);
    Status->setObjectName(QStringLiteral("Status"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(WhatAmIdoing);
    layout->addWidget(Status);
    setFixedSize(320, 72);

    CentreOnScreen(this);
}
