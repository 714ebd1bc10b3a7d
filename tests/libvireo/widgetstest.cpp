#include "combobox.h"
#include "icons.h"
#include "localemodel.h"

#include "testutils.h"

#include <QDialogButtonBox>
#include <QPushButton>

using namespace kit;

namespace {
void addOfferedLocales(LocaleModel &model)
{
    model.addLocale(QLocale(QLocale::German, QLocale::Switzerland));
    model.addLocale(QLocale(QLocale::German, QLocale::Germany));
    model.addLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}
} // namespace

class WidgetsTest : public QObject
{
    Q_OBJECT

private slots:
    void comboBoxSelectsByValue_data();
    void comboBoxSelectsByValue();
    void comboBoxValueIsUserProperty();
    void valueRoleChangeIsSilent();
    void setModelColumnBeforeSetModelWarns();
    void localeModelRows_data();
    void localeModelRows();
    void localeModelHeader();
    void standardButtonIcons();
    void iconsByName();
};

void WidgetsTest::comboBoxSelectsByValue_data()
{
    QTest::addColumn<QLocale>("value");
    QTest::addColumn<int>("row");

    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << 1;
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << 2;
    QTest::newRow("not offered") << QLocale(QLocale::French, QLocale::France) << -1;
}

void WidgetsTest::comboBoxSelectsByValue()
{
    QFETCH(QLocale, value);
    QFETCH(int, row);

    LocaleModel model;
    addOfferedLocales(model);
    ComboBox box;
    box.setModel(&model);
    QCOMPARE(box.currentIndex(), 0);
    QSignalSpy changed(&box, &ComboBox::valueChanged);
    box.setValue(value);
    QCOMPARE(box.currentIndex(), row);
    QCOMPARE(changed.count(), 1);
    if (row < 0) {
        QVERIFY(!box.value().isValid());
        QVERIFY(!changed.first().at(0).isValid());
    } else {
        QCOMPARE(box.value().toLocale(), value);
        QCOMPARE(changed.first().at(0).toLocale(), value);
    }
}

void WidgetsTest::comboBoxValueIsUserProperty()
{
    LocaleModel model;
    addOfferedLocales(model);
    ComboBox box;
    box.setModel(&model);
    const QMetaProperty user = box.metaObject()->userProperty();
    QCOMPARE(QLatin1String(user.name()), QLatin1String("value"));
    QVERIFY(user.write(&box, QLocale(QLocale::English, QLocale::UnitedStates)));
    QCOMPARE(box.currentIndex(), 2);
}

void WidgetsTest::valueRoleChangeIsSilent()
{
    ComboBox box;
    box.addItem(QStringLiteral("one"), 1);
    box.setItemData(0, QStringLiteral("first"), Qt::UserRole + 5);
    box.addItem(QStringLiteral("two"), 2);
    QSignalSpy changed(&box, &ComboBox::valueChanged);
    box.setValueRole(Qt::UserRole + 5);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(box.valueRole(), Qt::UserRole + 5);
    QCOMPARE(box.value().toString(), QStringLiteral("first"));
    box.setValueRole(Qt::UserRole);
    box.setCurrentIndex(1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toInt(), 2);
}

void WidgetsTest::setModelColumnBeforeSetModelWarns()
{
    ComboBox box;
    QTest::ignoreMessage(QtWarningMsg, "You should call setModel prior to setModelColumn!");
    box.setModelColumn(0);
    QCOMPARE(box.modelColumn(), 0);

    LocaleModel model;
    box.setModel(&model);
    box.setModelColumn(0);
}

void WidgetsTest::localeModelRows_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("hasFlag");

    QTest::newRow("de_CH") << QLocale(QLocale::German, QLocale::Switzerland) << "Deutsch (Schweiz)" << true;
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << "Deutsch (Deutschland)" << true;
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "English (USA)" << true;
    QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France) << "" << false;
}

void WidgetsTest::localeModelRows()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, name);
    QFETCH(bool, hasFlag);

    LocaleModel model;
    model.addLocale(locale);
    QCOMPARE(model.rowCount(), 1);
    const QModelIndex index = model.index(0);
    QCOMPARE(model.data(index).toString(), name);
    QCOMPARE(model.data(index, Qt::UserRole).toLocale(), locale);
    QCOMPARE(!model.data(index, Qt::DecorationRole).value<QIcon>().isNull(), hasFlag);
    QVERIFY(!model.data(index, Qt::ToolTipRole).isValid());
    QVERIFY(!model.data(model.index(1)).isValid());
    QCOMPARE(model.flags(index), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
}

void WidgetsTest::localeModelHeader()
{
    LocaleModel model;
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Locale"));
    QVERIFY(!model.headerData(1, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

void WidgetsTest::standardButtonIcons()
{
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    setStandardButtonIcons(&box);
    QVERIFY(!box.button(QDialogButtonBox::Ok)->icon().isNull());
    QVERIFY(!box.button(QDialogButtonBox::Cancel)->icon().isNull());

    QDialogButtonBox closeOnly(QDialogButtonBox::Close);
    closeOnly.button(QDialogButtonBox::Close)->setIcon(loadIcon(QStringLiteral("dialog"), QStringLiteral("ok")));
    setStandardButtonIcons(&closeOnly);
    QVERIFY(closeOnly.button(QDialogButtonBox::Close)->icon().isNull());
}

void WidgetsTest::iconsByName()
{
    QVERIFY(!loadIcon(QStringLiteral("locale"), QStringLiteral("de_CH")).isNull());
    QVERIFY(loadIcon(QStringLiteral("locale"), QStringLiteral("xx")).isNull());
    QVERIFY(loadIcon(QStringLiteral("no-such-icon")).isNull());
    QVERIFY(!documentsPath().isEmpty());
}

MENSOR_GUITEST_MAIN(WidgetsTest)
#include "widgetstest.moc"
