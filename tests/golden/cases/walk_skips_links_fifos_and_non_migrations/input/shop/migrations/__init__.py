from django.db import migrations
migrations.AddIndex(model_name="order", index=None)
