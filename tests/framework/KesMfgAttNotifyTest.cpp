// The attribute notifications' class identity, and the attribute list's sharing of attributes.
#include "framework/KesListPtrKesMfgAttribute.h"
#include "framework/KesMfgAttNotifyModif.h"
#include "framework/KesMfgAttNotifyPB.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"

#include <gtest/gtest.h>

namespace {

TEST(KesMfgAttNotifyTest, ClassIdentityByName) {
    const KesMfgAttNotifyModif modif(-1);
    const KesMfgAttNotifyPB pressed(-1);
    EXPECT_STREQ(modif.IsA(), "KesMfgAttNotifyModif");
    EXPECT_TRUE(modif.IsAKindOf("KesNotification"));
    EXPECT_TRUE(modif.IsAKindOf("KesBaseUnknown"));
    EXPECT_FALSE(modif.IsAKindOf("KesMfgAttNotifyPB"));
    EXPECT_STREQ(pressed.IsA(), "KesMfgAttNotifyPB");
    EXPECT_FALSE(pressed.IsAKindOf("KesMfgAttNotifyModif"));
    EXPECT_STREQ(KesMfgAttNotifyModif::ClassName(), "KesMfgAttNotifyModif");
    EXPECT_FALSE(KesMfgAttNotifyModif::ClassId() == KesMfgAttNotifyPB::ClassId());
    EXPECT_EQ(KesMfgAttNotifyModif::CreateItself(), nullptr);
    EXPECT_EQ(modif.GetCode(), -1);
}

TEST(KesMfgAttNotifyTest, MetaObjectIsRegisteredOnce) {
    const KesMetaObject* first = KesMfgAttNotifyPB::MetaObject();
    EXPECT_EQ(KesMfgAttNotifyPB::MetaObject(), first);
    EXPECT_EQ(KesMfgAttNotifyPB(-1).GetMetaObject(), first);
    EXPECT_EQ(KesCountDictionaryEntries("KesMfgAttNotifyPB"), 1);
    EXPECT_EQ(KesFindDictionaryEntry(first->GetClassId()), first);
    EXPECT_EQ(first->GetFlag(), 1);
    EXPECT_EQ(first->GetBaseMetaObject(), KesNotification::MetaObject());
    EXPECT_EQ(QueryMetaObject("KesMfgAttNotifyPB"), first);
}

TEST(KesMfgAttNotifyTest, AHostMayBindToAnAttributesNotification) {
    KesDlgTestFrame frame;
    auto* tool = new KesMfgAttInt("Tool", "Tool", 1, 0, 0, 0, &frame, 1);
    tool->Display();
    int heard = 0;
    KesMfgAttNotifyModif kind(-1);
    frame.AddCallback(tool, &kind, [&](KesCommand* sender, KesNotification*, void**) {
        heard += sender == tool ? 1 : 0;
    });
    tool->GetEditorWidget()->UserType("5");
    EXPECT_EQ(heard, 1);
}

TEST(KesListPtrKesMfgAttributeTest, CopiesShareTheAttributesAndOwnNone) {
    KesDlgTestFrame frame;
    auto* a = new KesMfgAttInt("A", "A", 1, 0, 0, 0, &frame, 1);
    auto* b = new KesMfgAttInt("B", "B", 2, 0, 0, 0, &frame, 1);
    {
        KesListPtrKesMfgAttribute list(4);
        list.Append(a);
        list.Append(b);
        KesListPtrKesMfgAttribute copy(list);
        copy.RemoveAll();
        EXPECT_EQ(list.Size(), 2);
        EXPECT_EQ(list[2], b);
        EXPECT_EQ(list[3], nullptr);
        KesListPtrKesMfgAttribute assigned;
        assigned = list;
        assigned = assigned;
        EXPECT_EQ(assigned[1], a);
        EXPECT_EQ(static_cast<KesMfgAttribute*>(assigned.GetVector()[1]), a);
    }
    // Destroying every list left both attributes alive in their frame.
    EXPECT_EQ(frame.GetChildCount(), 2);
    EXPECT_EQ(a->GetAttributeName(), "A");
}

} // namespace
