// The attribute notifications' class identity, and the attribute list's sharing of attributes.
#include "framework/KesListPtrKesMfgAttribute.h"
#include "framework/KesMfgAttNotifyModif.h"
#include "framework/KesMfgAttNotifyPB.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"

#include <gtest/gtest.h>

namespace {

TEST(KesMfgAttNotifyTest, ClassIdentityByNameRegisteredOnce) {
    const KesMfgAttNotifyModif modif(-1);
    KesMfgAttNotifyPB pressed(-1);
    EXPECT_STREQ(modif.IsA(), "KesMfgAttNotifyModif");
    EXPECT_TRUE(modif.IsAKindOf("KesBaseUnknown"));
    EXPECT_FALSE(modif.IsAKindOf("KesMfgAttNotifyPB"));
    EXPECT_FALSE(pressed.IsAKindOf("KesMfgAttNotifyModif"));
    EXPECT_FALSE(KesMfgAttNotifyModif::ClassId() == KesMfgAttNotifyPB::ClassId());
    const KesMetaObject* first = KesMfgAttNotifyPB::MetaObject();
    EXPECT_EQ(pressed.GetMetaObject(), first);
    EXPECT_EQ(KesCountDictionaryEntries("KesMfgAttNotifyPB"), 1);
    EXPECT_EQ(KesFindDictionaryEntry(first->GetClassId()), first);
    EXPECT_EQ(QueryMetaObject("KesMfgAttNotifyPB"), first);
    // Asking an object for its own class, or for any class with the null identifier, answers it.
    void* object = nullptr;
    EXPECT_EQ(pressed.QueryInterface(first->GetClassId(), &object), 0);
    EXPECT_EQ(object, &pressed);
    EXPECT_EQ(pressed.QueryInterface(KesCLSID(), &object), 0);
    EXPECT_NE(pressed.QueryInterface(KesMfgAttNotifyModif::ClassId(), &object), 0);
    EXPECT_EQ(object, nullptr);
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
        EXPECT_EQ(list[2], b);
        EXPECT_EQ(list[3], nullptr);
        KesListPtrKesMfgAttribute assigned;
        assigned = list;
        assigned = assigned;
        EXPECT_EQ(assigned[1], a);
    }
    // Destroying every list left both attributes alive in their frame.
    EXPECT_EQ(frame.GetChildCount(), 2);
}

} // namespace
