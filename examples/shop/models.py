from django.db import models


class Customer(models.Model):
    email = models.EmailField(unique=True)


class Product(models.Model):
    name = models.CharField(max_length=200)
    sku = models.CharField(max_length=64)
    price = models.DecimalField(max_digits=10, decimal_places=2)
