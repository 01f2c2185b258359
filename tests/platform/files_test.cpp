// Placeholder until its issue lands.
