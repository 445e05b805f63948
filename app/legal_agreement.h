// The Legal Agreement dialog (1076): the project's licence, read only.
#pragma once

void LegalAgreementProcedure(int dialog, int message, int control, int notification);
// The Help menu's Legal Agreement command.
void OnLegalAgreement(int id);
