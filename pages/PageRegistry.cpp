// The pages' registrations with the wizard core: a factory per page template
// and the two dialogs the apply engine shows. Each page file adds its own
// registrar beside its class (WizardUiRegistrar); until a page is
// registered, its frame shows a plain CWizardPage on the page's template.
#include "WizardUi.h"
