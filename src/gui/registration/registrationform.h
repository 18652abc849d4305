#pragma once

#include "registration/registrationdocument.h"

#include <QWidget>

struct RegistrationContext;
class QComboBox;
class QTabWidget;
class ReviewPanel;

// What the domain, host and contact forms have in common: the name list that loads a profile when a known
// name is typed or chosen, and the buttons of the review tab. Each form supplies its record's fields.
class RegistrationForm : public QWidget
{
    Q_OBJECT
public:
    RegistrationForm(RegistrationKind kind, RegistrationContext& context, QWidget* parent = nullptr);

    RegistrationKind kind() const { return m_kind; }
    QTabWidget* tabs() const { return m_tabs; }
    ReviewPanel* review() const { return m_review; }
    QComboBox* nameBox() const { return m_nameBox; }

    // The fields from the defaults read at start-up, and the known names.
    void showState();

    // The buttons of the review tab.
    void showForm();
    void mail();
    void print();
    void saveDefaults();
    virtual void clearAll() = 0;

protected:
    // The review tab comes last; the form adds its own tabs before calling this.
    void finishTabs(QComboBox* nameBox, const QString& prefix, const QString& mailCaption);
    virtual RegistrationDocument document() const = 0;
    virtual void applyProfile(const FieldValues& profile) = 0;
    virtual FieldValues defaults() const = 0;
    virtual void applyDefaults(const QHash<QString, QString>& values) = 0;

    RegistrationContext& m_context;

    // Fields that change together are set without a typed name reloading the profile in between.
    class LoadingScope
    {
    public:
        explicit LoadingScope(RegistrationForm& form) : m_form(form), m_was(form.m_loading) { form.m_loading = true; }
        ~LoadingScope() { m_form.m_loading = m_was; }

    private:
        RegistrationForm& m_form;
        bool m_was;
    };

private:
    void nameChanged(const QString& name);
    void refreshNames();
    void reportError(const QString& text);

    RegistrationKind m_kind;
    QTabWidget* m_tabs = nullptr;
    ReviewPanel* m_review = nullptr;
    QComboBox* m_nameBox = nullptr;
    bool m_loading = false;
};
