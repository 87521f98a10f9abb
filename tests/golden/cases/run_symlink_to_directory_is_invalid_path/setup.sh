ln -s shop linked
