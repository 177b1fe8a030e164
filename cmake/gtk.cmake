# The native Linux front end (GTK 4), on the same portable layers.
