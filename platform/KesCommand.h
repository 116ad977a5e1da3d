// The command framework: binding methods to notifications and delivering notifications.
//
// A command (every widget is one) binds one of its methods to a notification that another
// command sends: AddAnalyseNotificationCB(sender, notification, method, clientData). The
// notification argument names the kind (its class name, IsA()); widgets hand out one such
// object per kind through getters such as GetEditModifyNotification().
//
// Delivery is synchronous. SendNotification(target, notification) calls
// target->AnalyseNotification(this, notification). By default AnalyseNotification runs the
// callbacks bound on that command for this sender and kind, in the order they were bound; when
// none is bound there it passes the notification on to its father (a widget's parent). After
// delivery the framework releases the notification, which deletes it unless a receiver took a
// reference with AddRef.
//
// Callbacks may do anything, re-entrantly: change or raise notifications on the widget that
// called them, bind new callbacks (they run from the next delivery on), or delete the target
// command, the sender or both; delivery stops at the deleted target and never touches it again.
// Bindings are dropped when either the sender or the target is destroyed.
//
// From the moment a command's destructor starts it runs no bound callback and passes nothing on
// to its father: its bound methods may belong to a part of the object already destroyed.
#pragma once

#include "platform/KesAssert.h"
#include "platform/KesNotification.h"

#include <functional>
#include <memory>
#include <string>

class KesCommand : public KesBaseUnknown {
public:
    using Callback = std::function<void(KesCommand*, KesNotification*, void**)>;

    KesCommand();
    KesCommand(const KesCommand&) = delete;
    KesCommand& operator=(const KesCommand&) = delete;
    ~KesCommand() override;

    // Binds `method` of this command to the notifications of `notification`'s kind sent by
    // `sender`. A null sender or notification is ignored.
    template <class Target>
    void AddAnalyseNotificationCB(KesCommand* sender, KesNotification* notification,
                                  void (Target::*method)(KesCommand*, KesNotification*, void**),
                                  void** clientData = nullptr) {
        static_assert(std::is_base_of_v<KesCommand, Target>, "callbacks are command methods");
        Target* target = dynamic_cast<Target*>(this);
        KES_ASSERT(target != nullptr, "a callback must be a method of the binding command");
        AddCallback(
            sender, notification,
            [target, method](KesCommand* from, KesNotification* what, void** data) {
                (target->*method)(from, what, data);
            },
            clientData);
    }
    // Binds any callable; used by hosts and tests that listen to a command they do not own.
    void AddCallback(KesCommand* sender, KesNotification* notification, Callback callback,
                     void** clientData = nullptr);

    // Delivers `notification` from this command to `target` and releases it afterwards. A null
    // target releases the notification undelivered; a null notification is ignored.
    void SendNotification(KesCommand* target, KesNotification* notification);

    // Runs the callbacks bound here for this sender and kind; when there is none, passes the
    // notification to the father.
    virtual void AnalyseNotification(KesCommand* sender, KesNotification* notification);

    // The next command up the delivery chain (a widget's parent); null at the top.
    virtual KesCommand* GetFather() const { return nullptr; }

    // A token that reads false once this command has been destroyed; lets code that runs
    // callbacks find out that they deleted the command it was working on.
    std::shared_ptr<const bool> GetAliveToken() const;

    // True from the start of the destructor of this command (or of the class that marked it).
    bool IsBeingDestroyed() const { return beingDestroyed_; }

protected:
    // Marks the command as being destroyed: from now on it takes no notification. The base
    // destructor does it; a derived class whose destructor does work calls it first thing, so
    // that nothing reaches it while its own part is torn down.
    void MarkBeingDestroyed() { beingDestroyed_ = true; }
    // Runs the matching callbacks bound here; returns true when at least one was bound.
    bool RunBoundCallbacks(KesCommand* sender, KesNotification* notification);

private:
    struct Links;
    // Made on first use: most widgets are never asked whether they are still alive.
    mutable std::shared_ptr<bool> alive_;
    // The bindings this command takes part in, made by the first one: none for most widgets.
    std::unique_ptr<Links> links_;
    bool beingDestroyed_ = false;
};
