#pragma once

class AppState;

// Gives every page's form its controls: the names and lists each subsystem
// declares for its own page.
void definePageForms(AppState &state);
