#include <zelmw/vocabulary/Composite.h>
#include <zelmw/vocabulary/Leaf.h>

#include <QTest>

#include <boost/make_shared.hpp>

using zelmw::Component;
using zelmw::Composite;
using zelmw::Leaf;

typedef boost::shared_ptr<Component> ComponentPtr;

class TestComposite : public QObject
{
    Q_OBJECT

private slots:
    void addReplacesUnderSameKey();
    void childrenInKeyOrder();
    void removeComponent();
    void nullChildIsAnEntry();
    void copiesShareChildren();
};

void TestComposite::addReplacesUnderSameKey()
{
    Composite composite;
    const ComponentPtr first = boost::make_shared<Leaf>();
    const ComponentPtr second = boost::make_shared<Leaf>();

    composite.addComponent(7, first);
    composite.addComponent(7, second);

    QCOMPARE(composite.getChildren().size(), 1);
    QCOMPARE(composite.getComponent(7), second);
    QCOMPARE(first.use_count(), 1L);
}

void TestComposite::childrenInKeyOrder()
{
    Composite composite;
    const ComponentPtr a = boost::make_shared<Leaf>();
    const ComponentPtr b = boost::make_shared<Composite>();
    const ComponentPtr c = boost::make_shared<Leaf>();

    composite.addComponent(30, a);
    composite.addComponent(-5, b);
    composite.addComponent(10, c);

    const QList<ComponentPtr> expected { b, c, a };
    QCOMPARE(composite.getChildren(), expected);
    QVERIFY(!composite.getComponent(0));
    QVERIFY(!composite.hasComponent(0));
}

void TestComposite::removeComponent()
{
    Composite composite;
    const ComponentPtr a = boost::make_shared<Leaf>();
    const ComponentPtr b = boost::make_shared<Leaf>();
    composite.addComponent(1, a);
    composite.addComponent(2, b);

    QVERIFY(!composite.removeComponent(3));
    QCOMPARE(composite.getChildren(), (QList<ComponentPtr> { a, b }));

    QCOMPARE(composite.removeComponent(1), a);
    QVERIFY(!composite.hasComponent(1));
    QCOMPARE(composite.getChildren(), QList<ComponentPtr> { b });
    QVERIFY(!composite.removeComponent(1));
}

void TestComposite::nullChildIsAnEntry()
{
    Composite composite;
    composite.addComponent(4, ComponentPtr());

    QVERIFY(composite.hasComponent(4));
    QVERIFY(!composite.getComponent(4));
    QCOMPARE(composite.getChildren().size(), 1);

    QVERIFY(!composite.removeComponent(4));
    QVERIFY(!composite.hasComponent(4));
}

void TestComposite::copiesShareChildren()
{
    Composite original;
    const ComponentPtr leaf = boost::make_shared<Leaf>();
    original.addComponent(1, leaf);

    Composite copy(original);
    QCOMPARE(copy.getComponent(1), leaf);
    copy.addComponent(2, boost::make_shared<Leaf>());
    QVERIFY(!original.hasComponent(2));

    Composite assigned;
    assigned.addComponent(9, boost::make_shared<Leaf>());
    assigned = original;
    QVERIFY(!assigned.hasComponent(9));
    QCOMPARE(assigned.getChildren(), QList<ComponentPtr> { leaf });
}

QTEST_GUILESS_MAIN(TestComposite)
#include "tst_composite.moc"
