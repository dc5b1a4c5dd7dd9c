// Placeholder so a layer without sources yet still builds.
