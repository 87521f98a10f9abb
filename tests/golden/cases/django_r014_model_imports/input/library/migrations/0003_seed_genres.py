from django.db import migrations
from django.db.models import Q

from library.models import Genre
from ..models import Book as B
from . import models
from .models import *
from library.utils.models import slugify, Shelf
from library import models as library_models
import library.models
from ..mymodels import Author
from .. import Publisher
from django.models import Thing
from djangoshop.models import Basket


def seed(apps, schema_editor):
    from library.models import Loan
    Genre.objects.get_or_create(name="Fiction")


class Migration(migrations.Migration):

    dependencies = [("library", "0002_book_genre")]

    operations = [
        migrations.RunPython(seed, migrations.RunPython.noop),
    ]
