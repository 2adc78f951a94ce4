#include "ui/TFormMultidropLifeList.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFormMultidropLifeList::TFormMultidropLifeList(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormMultidropLifeList"));
    setWindowTitle(QStringLiteral("Multidrop - Life List"));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(420, 300);
}
