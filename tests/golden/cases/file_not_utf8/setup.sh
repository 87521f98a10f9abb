printf '# caf\xe9\nfrom django.db import migrations\n' > shop/migrations/0003_latin1.py
